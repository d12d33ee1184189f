# SPDX-License-Identifier: MIT
# The page's tests: the built site served from localhost, headless Chromium
# driven through Debian's chromedriver, the model in memory and the command
# line to compare with.
import json
import os
import socket
import subprocess
from pathlib import Path

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

ROOT = Path(__file__).resolve().parents[2]


def pytest_configure(config):
    config.addinivalue_line("markers", "slow: a long run, left out of the default test run (ctest --preset slow)")


def _path(variable, default):
    return Path(os.environ.get(variable, default))


SITE = _path("FIBMOD_WEB_SITE", ROOT / "build/web/site")
REPLAY = _path("FIBMOD_FORM_REPLAY", ROOT / "build/default/tests/web/form_replay")
CLI = _path("FIBMOD_CLI", ROOT / "build/default/cli/fibmod-cli")


def _free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


@pytest.fixture(scope="session")
def site_url():
    """The site served as scripts/web serves it, by Python's own server."""
    assert (SITE / "index.html").is_file(), f"no page at {SITE}: build it with scripts/web --build"
    port = _free_port()
    server = subprocess.Popen(
        ["/usr/bin/python3", "-m", "http.server", str(port), "--bind", "127.0.0.1", "--directory", str(SITE)],
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    # Ready once it accepts a connection.
    while True:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=30).close()
            break
        except ConnectionRefusedError:
            assert server.poll() is None, "the server did not start"
    yield f"http://127.0.0.1:{port}/"
    server.terminate()
    server.wait()


def make_browser(width=1000, height=800, extra=()):
    """Headless Chromium; as root without a display it needs no sandbox."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     f"--window-size={width},{height}", "--lang=de", *extra):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # A window is never narrower than the browser allows; a phone's width is emulated.
    if width < 500:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
    return driver


@pytest.fixture(scope="session")
def browser():
    driver = make_browser()
    yield driver
    driver.quit()


class Replay:
    """The window's model in memory, fed the same steps as the page."""

    def __init__(self):
        self.process = subprocess.Popen([str(REPLAY)], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                        encoding="utf-8")

    def step(self, *step):
        self.process.stdin.write(json.dumps(list(step)) + "\n")
        self.process.stdin.flush()
        return json.loads(self.process.stdout.readline())

    def close(self):
        self.process.stdin.close()
        self.process.wait()


@pytest.fixture
def replay():
    model = Replay()
    yield model
    model.close()


def cli_fields(*arguments):
    """The fields of `fibmod-cli show --json` for the arguments."""
    out = subprocess.run([str(CLI), "show", "--json", *arguments], check=True, capture_output=True, text=True)
    return json.loads(out.stdout)["fields"]
