// SPDX-License-Identifier: MIT
// The page's views by address: "#perioden" opens one, the plain address (or one with inputs) the form.

// The address's parts: the view's name (empty for the form) and its
// key=value pairs, "#perioden&von=2" or "#r1=6&m=12".
export function parseAddress(hash) {
  const parts = hash.replace(/^#/, '').split('&').filter((part) => part !== '');
  let view = '';
  if (parts.length > 0 && !parts[0].includes('=')) view = decodeURIComponent(parts.shift());
  const params = new Map();
  for (const part of parts) {
    const at = part.indexOf('=');
    if (at < 0) continue;
    params.set(decodeURIComponent(part.slice(0, at)), decodeURIComponent(part.slice(at + 1)));
  }
  return { view, params };
}

// The address for a view and its pairs, in the order given.
export function formatAddress(view, params) {
  const parts = [];
  if (view) parts.push(encodeURIComponent(view));
  for (const [key, value] of params) parts.push(`${encodeURIComponent(key)}=${encodeURIComponent(value)}`);
  return parts.length > 0 ? `#${parts.join('&')}` : '';
}

// Shows the view the address names whenever it changes. `views` maps a
// name to {section, show(params), hide()}; a name the page does not know
// yet opens its section with a note, and an unknown one the form.
export function startRouter(views) {
  let current = null;
  const route = () => {
    const { view, params } = parseAddress(window.location.hash);
    const name = views.has(view) ? view : '';
    const next = views.get(name);
    for (const [other, entry] of views) {
      if (other !== name && entry) {
        document.getElementById(entry.section).hidden = true;
        if (current === entry && entry.hide) entry.hide();
      }
    }
    document.getElementById('nicht-verfuegbar').hidden = next !== null;
    for (const link of document.querySelectorAll('nav a')) {
      const target = parseAddress(link.getAttribute('href')).view;
      if (target === name) link.setAttribute('aria-current', 'page');
      else link.removeAttribute('aria-current');
    }
    current = next;
    if (!next) return;
    document.getElementById(next.section).hidden = false;
    next.show(params);
  };
  window.addEventListener('hashchange', route);
  route();
}
