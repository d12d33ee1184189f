# SPDX-License-Identifier: MIT
# The page's view "Übersicht" in headless Chromium against the native fibmod-cli scan.
import pytest
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from overview_page import cli_scan, download_csv, open_overview, set_range, summary_state, wait_done
from periods_page import set_sequences

# Inputs besides the window's own: s = 2, and fractions (the default bound only).
S_TWO = ({"s2": "2"}, ["--s2", "2"])
FRACTIONS = ({"r1": "1.5", "s1": "-0.5", "start2": ("0.25", "1")}, ["--r1", "1.5", "--s1", "-0.5", "--start2", "0.25,1"])


@pytest.mark.parametrize("start, end, unbounded, inputs", [
    (2, 2000, False, ({}, [])),
    (2, 20000, True, ({}, [])),
    (2, 2000, False, S_TWO),
    (1990, 4100, True, S_TWO),
    (2, 2000, False, FRACTIONS),
], ids=["default", "unbounded-20000", "s2-2", "s2-2-unbounded", "fractions"])
def test_the_csv_file_is_the_command_lines_byte_for_byte(browser, site_url, tmp_path, start, end, unbounded, inputs):
    open_overview(browser, site_url)
    set_sequences(browser, inputs[0])
    browser.execute_script("location.hash = '#'; location.hash = '#uebersicht';")
    set_range(browser, start, end, unbounded)
    wait_done(browser)
    assert download_csv(browser, tmp_path) == cli_scan(start, end, unbounded, inputs[1])


def test_a_browser_without_webassembly_simd_gets_the_plain_engine_and_the_same_file(site_url, tmp_path):
    from conftest import make_browser
    driver = make_browser()
    try:
        # This browser validates no module with a SIMD instruction.
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            const validate = WebAssembly.validate;
            WebAssembly.validate = (bytes) => !new Uint8Array(bytes).includes(253) && validate(bytes);"""})
        open_overview(driver, site_url, "#uebersicht&von=1990&bis=6000&max=unbegrenzt")
        wait_done(driver)
        workers = driver.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name).filter(n => n.includes('worker'))")
        assert any(w.endswith("overview_worker.js?engine=overview_engine.js") for w in workers)
        assert not any("simd" in w for w in workers)
        assert download_csv(driver, tmp_path) == cli_scan(1990, 6000, True)
    finally:
        driver.quit()


def test_the_summary_counts_and_a_failed_rows_message_are_the_command_lines(browser, site_url):
    open_overview(browser, site_url, "#uebersicht&von=2&bis=3000")
    wait_done(browser)
    lines = cli_scan(2, 3000).decode().splitlines()[1:]
    single = sum(1 for line in lines if line.split(",")[3] == "1")
    failed = [line.split(",", 5) for line in lines if "Laufzeitfehler" in line]
    summary = browser.find_element(By.ID, "uebersicht-zusammenfassung").text
    assert summary.startswith(f"2999 Moduln, {single} mit genau einem gemeinsamen Rest, {len(failed)} mit Laufzeitfehler, ")
    # Sorted by the message, descending: a failed row first, with its own message.
    messages = {cells[0]: cells[5] for cells in failed}
    assert messages
    header = browser.find_element(By.CSS_SELECTOR, "#uebersicht-tabelle [data-column='5']")
    header.click()
    header.click()
    first_row = "return Array.from(document.querySelector('#uebersicht-tabelle .fenster [role=row]').children, c => c.textContent)"
    WebDriverWait(browser, 10).until(lambda b: b.execute_script(first_row)[0] in messages)
    cells = browser.execute_script(first_row)
    assert cells[5] == messages[cells[0]]


@pytest.mark.parametrize("start, end, line", [
    ("2x", "100", "„von“: „2x“ ist keine ganze Zahl."),
    ("2", "1000001", "„bis“: 1000001 liegt nicht zwischen 2 und 1000000."),
    ("500", "100", "„von“ (500) ist größer als „bis“ (100)"),
])
def test_a_refused_input_shows_its_line_and_computes_nothing(browser, site_url, start, end, line):
    open_overview(browser, site_url, "#uebersicht&von=2&bis=50")
    wait_done(browser)
    set_range(browser, start, end)
    message = browser.find_element(By.ID, "uebersicht-meldung")
    assert line in message.text
    assert summary_state(browser) == "abgelehnt"
    assert browser.find_element(By.ID, "uebersicht-zusammenfassung").text == ""
    WebDriverWait(browser, 10).until(lambda b: b.execute_script(
        "return document.querySelectorAll('#uebersicht-tabelle .fenster [role=row]').length") == 0)
    assert browser.execute_script("return document.getElementById('uebersicht-fortschritt').value") == 0


def test_unbounded_fractions_are_refused_by_the_engines_rule(browser, site_url):
    open_overview(browser, site_url)
    set_sequences(browser, FRACTIONS[0])
    browser.execute_script("location.hash = '#'; location.hash = '#uebersicht';")
    set_range(browser, 2, 100, unbounded=True)
    assert browser.find_element(By.ID, "uebersicht-meldung").text
    assert summary_state(browser) == "abgelehnt"


def test_cancel_keeps_whole_rows_in_order_and_a_click_is_answered_while_it_runs(browser, site_url, tmp_path):
    open_overview(browser, site_url, "#uebersicht&von=2&bis=1000000&max=unbegrenzt")
    # Some rows are in, and the run is still going.
    WebDriverWait(browser, 120).until(lambda b: b.execute_script(
        "return document.getElementById('uebersicht-fortschritt').value") > 3000)
    # A click anywhere on the page runs its handler while the scan goes on.
    browser.execute_script(
        "window.answered = false; document.getElementById('uebersicht-log')"
        ".addEventListener('change', () => { window.answered ="
        " document.getElementById('uebersicht-zusammenfassung').dataset.state; });")
    browser.find_element(By.ID, "uebersicht-log").click()
    assert browser.execute_script("return window.answered") == "rechnet"
    browser.find_element(By.ID, "uebersicht-abbrechen").click()
    assert summary_state(browser) == "abgebrochen"
    done = browser.execute_script("return document.getElementById('uebersicht-fortschritt').value")
    assert "abgebrochen" in browser.find_element(By.ID, "uebersicht-zusammenfassung").text
    assert download_csv(browser, tmp_path) == cli_scan(2, 1 + done, True)


def test_the_table_sorts_filters_and_a_modulus_opens_the_form(browser, site_url):
    open_overview(browser, site_url, "#uebersicht&von=2&bis=2000")
    wait_done(browser)
    assert browser.find_element(By.TAG_NAME, "html").get_attribute("lang") == "de"
    # Chromium has WebAssembly SIMD: the workers run the engine built for it.
    workers = browser.execute_script(
        "return performance.getEntriesByType('resource').map(e => e.name).filter(n => n.includes('worker'))")
    assert any(w.endswith("overview_worker.js?engine=overview_engine_simd.js") for w in workers)
    for field in ("uebersicht-von", "uebersicht-bis", "uebersicht-max-glieder"):
        assert browser.find_element(By.CSS_SELECTOR, f"label[for='{field}']").text.strip()
    first_cells = "return Array.from(document.querySelectorAll('#uebersicht-tabelle .fenster [role=row]'), r => r.children[0].textContent)"
    browser.find_element(By.ID, "uebersicht-nur-eins").click()
    WebDriverWait(browser, 10).until(lambda b: b.execute_script(
        "return document.querySelector('#uebersicht-tabelle [role=table]').getAttribute('aria-rowcount')") != "2000")
    lines = cli_scan(2, 2000).decode().splitlines()[1:]
    singles = [line.split(",")[0] for line in lines if line.split(",")[3] == "1"]
    shown = lambda b: b.execute_script(first_cells)  # noqa: E731
    WebDriverWait(browser, 10).until(lambda b: shown(b) and shown(b) == singles[:len(shown(b))])
    # Sorted by the second length, descending: the longest of the filtered rows first.
    header = browser.find_element(By.CSS_SELECTOR, "#uebersicht-tabelle [data-column='2']")
    header.click()
    header.click()
    longest = max(int(line.split(",")[2]) for line in lines if line.split(",")[0] in singles)
    WebDriverWait(browser, 10).until(lambda b: b.execute_script(
        "return document.querySelector('#uebersicht-tabelle .fenster [role=row]').children[2].textContent") == str(longest))
    modulus = browser.find_element(By.CSS_SELECTOR, "#uebersicht-tabelle .fenster button.modul")
    number = modulus.text
    # Clicked where it is: the table's rows are drawn afresh as they scroll into view.
    browser.execute_script("arguments[0].click();", modulus)
    WebDriverWait(browser, 10).until(lambda b: b.find_element(By.ID, "Text2").get_attribute("value") == number)


def test_the_chart_downloads_as_a_png(browser, site_url, tmp_path):
    open_overview(browser, site_url, "#uebersicht&von=2&bis=500")
    wait_done(browser)
    chart = browser.find_element(By.ID, "uebersicht-diagramm")
    assert chart.get_attribute("aria-label")
    browser.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": str(tmp_path)})
    browser.find_element(By.ID, "uebersicht-png").click()
    target = tmp_path / "fibmod-moduln.png"
    WebDriverWait(browser, 30).until(lambda _: target.exists() and not list(tmp_path.glob("*.crdownload")))
    assert target.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"


def test_the_charts_hover_names_the_modulus_under_the_pointer_through_zoom_pan_and_reset(browser, site_url):
    open_overview(browser, site_url, "#uebersicht&von=2&bis=2000")
    wait_done(browser)
    chart = browser.find_element(By.ID, "uebersicht-diagramm")

    def under(dx):
        ActionChains(browser).move_to_element_with_offset(chart, dx, 0).perform()
        tooltip = browser.find_element(By.ID, "uebersicht-punkt")
        assert tooltip.is_displayed()
        return int(tooltip.text.split("\n")[0].removeprefix("Modul "))

    def view():
        return under(-100), under(100)

    whole = view()
    assert whole[0] < 1001 < whole[1]
    ActionChains(browser).scroll_from_origin(ScrollOrigin.from_element(chart), 0, -120).perform()
    wheeled = view()
    assert whole[0] < wheeled[0] < wheeled[1] < whole[1]
    # A drag over 100 pixels shows what lay under them across the whole plot.
    ActionChains(browser).move_to_element_with_offset(chart, -50, 0).click_and_hold().move_by_offset(100, 0) \
        .release().perform()
    dragged = view()
    assert wheeled[0] < dragged[0] < dragged[1] < wheeled[1]
    # Shift and a drag to the right pans to lower moduli.
    ActionChains(browser).move_to_element_with_offset(chart, 0, 0).key_down(Keys.SHIFT).click_and_hold() \
        .move_by_offset(60, 0).release().key_up(Keys.SHIFT).perform()
    panned = view()
    assert panned[0] < dragged[0] and panned[1] - panned[0] == pytest.approx(dragged[1] - dragged[0], abs=2)
    browser.find_element(By.ID, "uebersicht-zoom").click()
    assert view() == whole
    chart.send_keys("+")
    assert view() != whole
    chart.send_keys(Keys.HOME)
    assert view() == whole


@pytest.mark.slow
def test_two_thousand_nine_hundred_eighty_five_one_residue_moduli_up_to_100000_unbounded(site_url):
    from conftest import make_browser
    driver = make_browser()
    try:
        open_overview(driver, site_url, "#uebersicht&von=2&bis=100000&max=unbegrenzt")
        wait_done(driver, timeout=3000)
        summary = driver.find_element(By.ID, "uebersicht-zusammenfassung").text
        assert summary.startswith("99999 Moduln, 2985 mit genau einem gemeinsamen Rest, ")
    finally:
        driver.quit()
