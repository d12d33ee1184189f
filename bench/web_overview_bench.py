#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Times the view "Übersicht"'s workers in headless Chromium beside the native fibmod-cli scan.

The range (2 … 20,000 with no term bound by default) is computed by the
page's own worker pool and ordered run (overview_pool.js), the way the view
runs it: counts only with one worker and with two, every column (the CSV
lines) with one, each on the SIMD engine and on the plain one. The native
figures are fibmod-cli scan with --threads 1 (counts only: --columns
modulus,common_count) and --threads 2, same machine, same run. The clock in
the page runs from the first stretch sent to the last answer in order; the
workers are started and their engines compiled before. Best of --repeat
runs. Then the view itself runs 2 … 1,000,000 with no term bound for
--memory-seconds, and the tab's memory is read: the resident memory of
Chromium's renderer processes (the page and its workers); meanwhile a timer
on the page's thread measures its longest stall. It reports the
ratios beside the targets and never fails.

    /usr/bin/python3 bench/web_overview_bench.py --site build/web/site --cli build/default/cli/fibmod-cli
"""

import argparse
import subprocess
import sys
import time
from pathlib import Path


sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "web"))
from conftest import make_browser  # noqa: E402  (the tests' way to start the browser)
from web_periods_bench import serve  # noqa: E402

# Runs the range on `workers` workers of `engine`; answers milliseconds and the rows' common counts summed.
TIMED_RUN = """
const [from, to, workers, engine, csv] = arguments;
const done = arguments[arguments.length - 1];
(async () => {
const { chunksOf, OrderedRun, WorkerPool } = await import('./overview_pool.js');
const pool = new WorkerPool(workers, `overview_worker.js?engine=${engine}`);
const inputs = ['6', '-1', '1', '1', '4', '-1', '1', '1'];
// Warm: each worker's engine loaded and prepared on one modulus.
await new Promise((resolve) => new OrderedRun(pool, 1, Array.from({length: workers}, () => ({from: 2, to: 2})), {
    request: (chunk, c) => ({job: 1, kind: 'rows', chunk, from: c.from, to: c.to, csv, inputs, maxTerms: 0}),
    ordered: () => {}, failed: resolve, finished: resolve}));
const begun = performance.now();
let common = 0;
new OrderedRun(pool, 2, chunksOf(from, to), {
    request: (chunk, c) => ({job: 2, kind: 'rows', chunk, from: c.from, to: c.to, csv, header: chunk === 0,
                             inputs, maxTerms: 0}),
    ordered: (answer) => { for (const c of answer.counts) common += c; },
    failed: (why) => done([-1, why]),
    finished: () => {
        const ms = performance.now() - begun;
        for (const w of [...pool.workers, pool.lookup]) w.thread.terminate();
        done([ms, common]);
    }});
})();
"""


def native(cli, start, end, threads, columns):
    """The best of three times of fibmod-cli scan, in seconds."""
    args = [cli, "scan", "--format", "csv", "--from", str(start), "--to", str(end), "--max-terms", "none",
            "--threads", str(threads), "--quiet"]
    if columns:
        args += ["--columns", columns]
    best = float("inf")
    for _ in range(3):
        begun = time.perf_counter()
        subprocess.run(args, check=True, stdout=subprocess.DEVNULL)
        best = min(best, time.perf_counter() - begun)
    return best


def renderer_memory(driver_pid):
    """The resident memory of the renderers under chromedriver, in MB: all of
    them, and the largest (the page's, with its workers)."""
    total = 0
    largest = 0
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            # A child of Chromium rewrites its command line into one string.
            command = (entry / "cmdline").read_bytes()
            if b"--type=renderer" not in command:
                continue
            status = (entry / "status").read_text()
        except OSError:
            continue
        if _ancestor(int(entry.name), driver_pid):
            resident = int(next(line.split()[1] for line in status.splitlines() if line.startswith("VmRSS:")))
            total += resident
            largest = max(largest, resident)
    return total / 1024, largest / 1024


def _ancestor(pid, ancestor):
    while pid > 1:
        if pid == ancestor:
            return True
        try:
            pid = int(Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[1])
        except OSError:
            return False
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", default="build/web/site", help="the built site's folder")
    parser.add_argument("--cli", default="build/default/cli/fibmod-cli")
    parser.add_argument("--from", dest="start", type=int, default=2)
    parser.add_argument("--to", dest="end", type=int, default=20000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--memory-seconds", type=float, default=60)
    args = parser.parse_args()

    url = serve(args.site)
    browser = make_browser()
    browser.set_script_timeout(3600)
    web = {}
    try:
        browser.get(url + "#uebersicht&von=2&bis=3")
        simd = browser.execute_script(
            "return WebAssembly.validate(new Uint8Array([0,97,115,109,1,0,0,0,1,5,1,96,0,1,123,3,2,1,0,10,8,1,6,0,"
            "65,0,253,15,11]))")
        engines = ["overview_engine_simd.js", "overview_engine.js"] if simd else ["overview_engine.js"]
        for engine in engines:
            for workers, csv in ((1, False), (2, False), (1, True)):
                best = float("inf")
                for _ in range(args.repeat):
                    ms, common = browser.execute_async_script(TIMED_RUN, args.start, args.end, workers, engine, csv)
                    if ms < 0:
                        print(f"{engine}: {common}")
                        return
                    best = min(best, ms / 1000)
                web[(engine, workers, csv)] = best
        browser.get(url + "#uebersicht&von=2&bis=1000000&max=unbegrenzt")
        # The page's thread ticks every 10 ms; the longest gap between two
        # ticks is the longest an input event could have waited.
        browser.execute_script("""
            window.longestStall = 0; let last = performance.now();
            setInterval(() => { const now = performance.now();
                window.longestStall = Math.max(window.longestStall, now - last - 10); last = now; }, 10);""")
        time.sleep(args.memory_seconds)
        running = renderer_memory(browser.service.process.pid)
        done, stall = browser.execute_script(
            "return [document.getElementById('uebersicht-fortschritt').value, window.longestStall]")
        browser.find_element("id", "uebersicht-abbrechen").click()
        time.sleep(2)
        stopped = renderer_memory(browser.service.process.pid)
    finally:
        browser.quit()
    counts1 = native(args.cli, args.start, args.end, 1, "modulus,common_count")
    counts2 = native(args.cli, args.start, args.end, 2, "modulus,common_count")
    every1 = native(args.cli, args.start, args.end, 1, None)
    print(f"{args.start} … {args.end}, no term bound, best of {args.repeat} (native: of 3):")
    print(f"  native fibmod-cli scan, counts only: 1 thread {counts1:.3f} s, 2 threads {counts2:.3f} s;"
          f" every column, 1 thread {every1:.3f} s")
    print(f"  the view on 2 … 1000000, no bound: {done} rows after {args.memory_seconds:.0f} s;"
          f" the renderers {running[0]:.0f} MB in all, the page's {running[1]:.0f} MB while running,"
          f" {stopped[0]:.0f} and {stopped[1]:.0f} MB after Abbrechen (target < 500 MB);"
          f" the page's thread stalled {stall:.0f} ms at the longest (target: input answered within 100 ms)")
    for engine in dict.fromkeys(e for e, _, _ in web):
        one, two, every = web[(engine, 1, False)], web[(engine, 2, False)], web[(engine, 1, True)]
        print(f"  {engine}: counts only, 1 worker {one:.3f} s = {one / counts1:.2f}× native (target ≤ 3×);"
              f" 2 workers {two:.3f} s = {two / one:.2f}× one worker (target ≤ 0.6×);"
              f" every column, 1 worker {every:.3f} s = {every / every1:.2f}× native (target ≤ 4×)")


if __name__ == "__main__":
    main()
