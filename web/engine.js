// SPDX-License-Identifier: MIT
// The engine compiled to WebAssembly, loaded once for the whole page.
import createEngine from './fibmod-engine.js';

let loading = null;

// The engine's module (FormSession, controlTable, …), loaded on the first call.
export function loadEngine() {
  if (!loading) loading = createEngine();
  return loading;
}
