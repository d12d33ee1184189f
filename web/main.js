// SPDX-License-Identifier: MIT
// The page's start: the engine loaded, the form built, the views routed by address.
import { loadEngine } from './engine.js';
import { FormView } from './form_view.js';
import { setUpMessages } from './messages.js';
import { mountPeriodsView } from './periods.js';
import { startRouter } from './router.js';

const engine = await loadEngine();
setUpMessages();
const form = new FormView(engine);
// The views by the name their address carries. A view not built yet is
// null: its address shows a note. Each plugs in here with its section.
const views = new Map([
  ['', form],
  ['perioden', mountPeriodsView(document.getElementById('ansicht-perioden'))],
  ['uebersicht', null],
]);
startRouter(views);
