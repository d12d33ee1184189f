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
runs. Then, in the view itself: 2 … 100,000 with no term bound is typed
in as a user does and "logarithmisch" clicked every 0.2 s while it runs;
the page's own Event Timing says how long each input waited. Last, 2 …
1,000,000 with no term bound runs for --memory-seconds while the tab's
memory is read every 2 s from /proc (the page and its workers are one
renderer process). It reports the ratios beside the targets and never
fails.

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
from overview_page import open_overview, set_range, summary_state, wait_done  # noqa: E402
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
        for (const w of pool.workers) w.thread.terminate();
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
    """The memory of Chromium's renderers under chromedriver, in MB: of the
    tab (the renderer holding the most of its own: the page with its
    workers, which are threads of it) resident and proportional (shared
    pages, such as Chromium's own code, counted by their share), and of
    all renderers (the tab, a spare one, the first blank one) proportional."""
    renderers = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            # A child of Chromium rewrites its command line into one string.
            if b"--type=renderer" not in (entry / "cmdline").read_bytes():
                continue
            rollup = (entry / "smaps_rollup").read_text()
        except OSError:
            continue
        if _ancestor(int(entry.name), driver_pid):
            fields = {line.split(":")[0]: int(line.split()[1]) for line in rollup.splitlines()[1:]}
            renderers.append((fields["Private_Clean"] + fields["Private_Dirty"], fields["Rss"], fields["Pss"]))
    tab = max(renderers)
    return {"tab_rss": tab[1] / 1024, "tab_pss": tab[2] / 1024, "all_pss": sum(r[2] for r in renderers) / 1024}


def _ancestor(pid, ancestor):
    while pid > 1:
        if pid == ancestor:
            return True
        try:
            pid = int(Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[1])
        except OSError:
            return False
    return False


# Input during the run, as the page measures it (Event Timing): from the
# input to its handler and to the next frame; and a 10 ms tick's longest gap.
WATCH_INPUT = """
window.inputs = [];
new PerformanceObserver((list) => { for (const e of list.getEntries())
    window.inputs.push([e.processingStart - e.startTime, e.duration]); })
    .observe({type: 'event', durationThreshold: 16, buffered: true});
window.longestStall = 0; let last = performance.now();
setInterval(() => { const now = performance.now();
    window.longestStall = Math.max(window.longestStall, now - last - 10); last = now; }, 10);
"""


def responsiveness(browser, url, end):
    """Types 2 … end with no bound into the view, as a user does, and clicks
    "logarithmisch" (which redraws the chart) every 0.2 s till it is done."""
    browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH_INPUT})
    open_overview(browser, url, "#uebersicht&von=2&bis=50")
    wait_done(browser)
    browser.execute_script("window.inputs = []; window.longestStall = 0;")
    begun = time.perf_counter()
    set_range(browser, 2, end, True)
    logarithmic = browser.find_element("id", "uebersicht-log")
    clicks = 0
    while summary_state(browser) == "rechnet" or clicks == 0:
        logarithmic.click()
        clicks += 1
        time.sleep(0.2)
    seconds = time.perf_counter() - begun
    inputs, stall = browser.execute_script("return [window.inputs, window.longestStall]")
    return {"seconds": seconds, "clicks": clicks, "delay": max((i[0] for i in inputs), default=0),
            "frame": max((i[1] for i in inputs), default=0), "stall": stall}


def memory_over_run(browser, url, seconds):
    """The renderers' memory sampled every 2 s of 2 … 1,000,000 with no
    bound, for `seconds` (0: till the range is done), opened in a fresh
    browser: the peak of each figure, the rows done, and after Abbrechen."""
    open_overview(browser, url, "#uebersicht&von=2&bis=1000000&max=unbegrenzt")
    driver = browser.service.process.pid
    peak = {}
    begun = time.perf_counter()
    while (time.perf_counter() - begun < seconds) if seconds > 0 else summary_state(browser) == "rechnet":
        time.sleep(2)
        for key, value in renderer_memory(driver).items():
            peak[key] = max(peak.get(key, 0), value)
    rows = browser.execute_script("return document.getElementById('uebersicht-fortschritt').value")
    elapsed = time.perf_counter() - begun
    browser.find_element("id", "uebersicht-abbrechen").click()
    time.sleep(2)
    return {"peak": peak, "rows": rows, "seconds": elapsed, "stopped": renderer_memory(driver)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", default="build/web/site", help="the built site's folder")
    parser.add_argument("--cli", default="build/default/cli/fibmod-cli")
    parser.add_argument("--from", dest="start", type=int, default=2)
    parser.add_argument("--to", dest="end", type=int, default=20000)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--responsive-to", type=int, default=100000, help="the top of the range clicked through")
    parser.add_argument("--memory-seconds", type=float, default=60, help="0: till 2 … 1,000,000 is done")
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
        answered = responsiveness(browser, url, args.responsive_to)
    finally:
        browser.quit()
    # A browser of its own: the pages before would stay in its back and
    # forward cache, workers and all.
    browser = make_browser()
    try:
        memory = memory_over_run(browser, url, args.memory_seconds)
    finally:
        browser.quit()
    counts1 = native(args.cli, args.start, args.end, 1, "modulus,common_count")
    counts2 = native(args.cli, args.start, args.end, 2, "modulus,common_count")
    every1 = native(args.cli, args.start, args.end, 1, None)
    print(f"{args.start} … {args.end}, no term bound, best of {args.repeat} (native: of 3):")
    print(f"  native fibmod-cli scan, counts only: 1 thread {counts1:.3f} s, 2 threads {counts2:.3f} s;"
          f" every column, 1 thread {every1:.3f} s")
    print(f"  the view on 2 … {args.responsive_to}, no bound, typed in and run ({answered['seconds']:.1f} s),"
          f" {answered['clicks']} clicks meanwhile: the longest from a click to its handler {answered['delay']:.0f} ms,"
          f" to the next frame {answered['frame']:.0f} ms; the page's thread stalled {answered['stall']:.0f} ms"
          f" at the longest (target: input answered within 100 ms)")
    peak = memory["peak"]
    print(f"  the view on 2 … 1000000, no bound, for {memory['seconds']:.0f} s ({memory['rows']} rows), sampled"
          f" every 2 s: the tab at most {peak['tab_rss']:.0f} MB resident, {peak['tab_pss']:.0f} MB proportional;"
          f" all renderers {peak['all_pss']:.0f} MB proportional; after Abbrechen the tab"
          f" {memory['stopped']['tab_rss']:.0f} MB resident (target < 500 MB)")
    for engine in dict.fromkeys(e for e, _, _ in web):
        one, two, every = web[(engine, 1, False)], web[(engine, 2, False)], web[(engine, 1, True)]
        print(f"  {engine}: counts only, 1 worker {one:.3f} s = {one / counts1:.2f}× native (target ≤ 3×);"
              f" 2 workers {two:.3f} s = {two / one:.2f}× one worker (target ≤ 0.6×);"
              f" every column, 1 worker {every:.3f} s = {every / every1:.2f}× native (target ≤ 4×)")


if __name__ == "__main__":
    main()
