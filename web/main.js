// SPDX-License-Identifier: MIT
// The page's start: the engine loaded, the form built, the views routed by address.
import { loadEngine } from './engine.js';
import { FormView } from './form_view.js';
import { setUpMessages } from './messages.js';
import { mountOverviewView } from './overview.js';
import { mountPeriodsView } from './periods.js';
import { startRouter } from './router.js';

const engine = await loadEngine();
setUpMessages();
const form = new FormView(engine);
// The views by the name their address carries ("#perioden"; the form has
// none). A view is {section: the id of its <section> in index.html,
// show(params): shown with the address's key=value pairs, hide()}; one not
// built yet is null, and its address shows a note. A view that needs the
// form's inputs asks form.inputs() (keys s1, r1, first1, second1, s2, r2,
// first2, second2, m).
const views = new Map([
  ['', form],
  ['perioden', mountPeriodsView(document.getElementById('ansicht-perioden'), () => form.inputs())],
  ['uebersicht', mountOverviewView(document.getElementById('ansicht-uebersicht'), engine, () => form.inputs())],
]);
startRouter(views);
