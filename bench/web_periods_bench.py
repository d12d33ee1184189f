#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Times the page's view "Perioden" in headless Chromium: 1000 random moduli below 2^64, both sequences.

The page computes in one Web Worker with the portable period engine compiled
to WebAssembly. The clock runs in the page, from the click on "Berechnen"
until the table's data-state is "fertig" (every row drawn); the worker's
start and the engine's loading are inside the first run; later runs reuse
the worker, as the page does. Prints the first run, the best and the median
of the others, per modulus too, and the size of the view's files. It reports
and never fails.

    /usr/bin/python3 bench/web_periods_bench.py --site build/web/site
"""

import argparse
import functools
import http.server
import pathlib
import random
import statistics
import sys
import threading


sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from conftest import make_browser  # noqa: E402  (the tests' way to start the browser)
from periods_page import open_periods  # noqa: E402

# Clicks "Berechnen" and answers the milliseconds until the table is done.
TIMED_RUN = """
const done = arguments[arguments.length - 1];
const table = document.getElementById('perioden-tabelle');
document.getElementById('perioden-moduln').value = arguments[0];
const begun = performance.now();
new MutationObserver((changes, observer) => {
    if (table.dataset.state === 'fertig' || table.dataset.state === 'fehler') {
        observer.disconnect();
        done([performance.now() - begun, table.dataset.state, table.tBodies[0].rows.length]);
    }
}).observe(table, {attributes: true, attributeFilter: ['data-state']});
document.getElementById('perioden-start').click();
"""


def serve(site):
    """Serves the folder on a free port of 127.0.0.1; its address."""
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=site)
    handler.func.extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}
    handler.func.log_message = lambda *args: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", default="build/web/site", help="the built site's folder")
    parser.add_argument("--url", help="a page already served (instead of --site)")
    parser.add_argument("--moduli", type=int, default=1000)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()

    url = args.url or serve(args.site)
    moduli = "\n".join(str(random.Random(20261210 + i).randrange(2, 2**64)) for i in range(args.moduli))
    browser = make_browser()
    browser.set_script_timeout(600)
    try:
        open_periods(browser, url)
        times = []
        for _ in range(args.repeat):
            milliseconds, state, rows = browser.execute_async_script(TIMED_RUN, moduli)
            if state != "fertig" or rows != args.moduli:
                print(f"the run ended {state} with {rows} rows")
                return
            times.append(milliseconds / 1000)
    finally:
        browser.quit()
    cold, warm = times[0], times[1:] or times
    best, median = min(warm), statistics.median(warm)
    print(f"{args.moduli} random moduli below 2^64, both sequences, one worker (target: at most 2 s):")
    print(f"  first run, the worker started and the engine compiled: {cold:.3f} s")
    print(f"  again in the same worker: best {best:.3f} s ({best / args.moduli * 1e3:.3f} ms a modulus),"
          f" median {median:.3f} s of {len(warm)} runs")
    if not args.url:
        for name in ("periods_engine.wasm", "periods_engine.js", "periods.js", "periods_worker.js", "periods.css"):
            path = pathlib.Path(args.site) / name
            if path.exists():
                print(f"  {name}: {path.stat().st_size / 1024:.1f} KiB")


if __name__ == "__main__":
    main()
