#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The web page's size and its first paint from localhost, against their targets.

Reads the built site (scripts/web --build) and serves it as scripts/web does.
Prints every file's size and the sum (target: at most 1.5 MB), then, over
--loads fresh loads in headless Chromium with the cache off, the best and
the median time to the first paint, the first contentful paint and the form
ready to use (target for the first paint: at most 1 s). It reports and never
fails.

    /usr/bin/python3 bench/web_bench.py
"""

import argparse
import socket
import statistics
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests/web"))
from conftest import make_browser  # noqa: E402  (the tests' way to start the browser)
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

SIZE_TARGET = 1.5 * 1024 * 1024
PAINT_TARGET_MS = 1000


def site_size(site):
    files = sorted(p for p in site.rglob("*") if p.is_file())
    for path in files:
        print(f"  {path.relative_to(site)}: {path.stat().st_size:,} bytes")
    total = sum(p.stat().st_size for p in files)
    verdict = "within" if total <= SIZE_TARGET else "OVER"
    print(f"site: {total:,} bytes in {len(files)} files ({total / 1024 / 1024:.2f} MB; {verdict} the 1.5 MB target)")


def load_times(site, loads):
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    server = subprocess.Popen(["/usr/bin/python3", "-m", "http.server", str(port), "--bind", "127.0.0.1",
                               "--directory", str(site)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    driver = make_browser()
    try:
        while True:
            try:
                socket.create_connection(("127.0.0.1", port), timeout=30).close()
                break
            except ConnectionRefusedError:
                pass
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        rows = []
        for _ in range(loads):
            driver.get("about:blank")
            driver.get(f"http://127.0.0.1:{port}/")
            WebDriverWait(driver, 60).until(lambda d: d.execute_script(
                "return document.getElementById('ansicht-formular').dataset.state === 'bereit'"))
            rows.append(driver.execute_script("""
                const paint = Object.fromEntries(performance.getEntriesByType('paint')
                    .map((entry) => [entry.name, entry.startTime]));
                return [paint['first-paint'], paint['first-contentful-paint'], performance.now()];"""))
    finally:
        driver.quit()
        server.terminate()
        server.wait()
    for index, name in enumerate(["first paint", "first contentful paint", "form ready (at most)"]):
        values = [row[index] for row in rows if row[index] is not None]
        print(f"{name}: best {min(values):.0f} ms, median {statistics.median(values):.0f} ms over {len(values)} loads")
    best_paint = min(row[0] for row in rows if row[0] is not None)
    verdict = "within" if best_paint <= PAINT_TARGET_MS else "OVER"
    print(f"first paint {verdict} the {PAINT_TARGET_MS} ms target")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", type=Path, default=ROOT / "build/web/site")
    parser.add_argument("--loads", type=int, default=10)
    arguments = parser.parse_args()
    if not (arguments.site / "index.html").is_file():
        print(f"no page at {arguments.site}: build it with scripts/web --build")
        return
    site_size(arguments.site)
    load_times(arguments.site, arguments.loads)


if __name__ == "__main__":
    main()
