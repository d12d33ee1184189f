# SPDX-License-Identifier: MIT
# Working the view "Übersicht" as a person does: its ids, typed ranges, clicks and downloads.
import subprocess

from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

from conftest import CLI


def open_overview(browser, site_url, address="#uebersicht"):
    """The page freshly loaded at the overview's address."""
    browser.get("about:blank")
    browser.get(site_url + address)
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "uebersicht-von").is_displayed())


def summary_state(browser):
    return browser.find_element(By.ID, "uebersicht-zusammenfassung").get_attribute("data-state")


def set_range(browser, start, end, unbounded=False):
    """Types the range and chooses the bound, as a user does, and starts it
    at once instead of after the pause (by the Enter-less change event)."""
    for element_id, text in (("uebersicht-von", start), ("uebersicht-bis", end)):
        element = browser.find_element(By.ID, element_id)
        element.clear()
        element.send_keys(str(text))
    Select(browser.find_element(By.ID, "uebersicht-max-glieder")).select_by_visible_text(
        "unbegrenzt" if unbounded else "3000")


def wait_done(browser, timeout=600):
    WebDriverWait(browser, timeout).until(lambda b: summary_state(b) in ("fertig", "abgebrochen", "abgelehnt"))
    assert summary_state(browser) == "fertig", browser.find_element(By.ID, "uebersicht-meldung").text


def download_csv(browser, tmp_path, timeout=600):
    """Clicks "Als CSV speichern" and answers the file's bytes."""
    browser.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": str(tmp_path)})
    target = tmp_path / "fibmod-moduln.csv"
    if target.exists():
        target.unlink()
    browser.find_element(By.ID, "uebersicht-csv").click()
    # The file is whole once Chromium has renamed it from its .crdownload.
    WebDriverWait(browser, timeout).until(lambda _: target.exists() and not list(tmp_path.glob("*.crdownload")))
    return target.read_bytes()


def cli_scan(start, end, unbounded=False, inputs=(), *options):
    """fibmod-cli scan's CSV for the range as bytes."""
    args = [str(CLI), "scan", "--format", "csv", "--from", str(start), "--to", str(end), *inputs, *options]
    if unbounded:
        args += ["--max-terms", "none"]
    result = subprocess.run(args, capture_output=True, timeout=900)
    assert result.returncode == 0, result.stderr.decode()
    return result.stdout
