# SPDX-License-Identifier: MIT
# Working the view "Perioden" as a person does: its ids, typed text and clicks.
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

# The form's boxes of the sequences' inputs, by the command line's names.
SEQUENCE_BOXES = {"r1": "Text4-1", "s1": "Text4-0", "start1": ("Text1-4", "Text1-5"),
                  "r2": "Text4-3", "s2": "Text4-2", "start2": ("Text1-2", "Text1-3")}


def open_periods(browser, site_url):
    """The page freshly loaded at #perioden, the form's inputs as at start."""
    browser.get("about:blank")
    browser.get(site_url + "#perioden")
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "perioden-start").is_displayed())


def set_sequences(browser, inputs):
    """Puts the inputs into the form's boxes, as if typed there."""
    for name, value in inputs.items():
        boxes = SEQUENCE_BOXES[name]
        pairs = zip(boxes, value) if isinstance(boxes, tuple) else [(boxes, value)]
        for box, text in pairs:
            browser.execute_script(
                "const box = document.getElementById(arguments[0]); box.value = arguments[1];"
                "box.dispatchEvent(new Event('input', {bubbles: true}));"
                "box.dispatchEvent(new Event('change', {bubbles: true}));", box, text)


def _type(browser, element_id, text):
    element = browser.find_element(By.ID, element_id)
    element.clear()
    if text:
        # Long lists go in at once: send_keys would type them key by key.
        browser.execute_script("arguments[0].value = arguments[1];", element, text)


def run_periods(browser, moduli="", start="", end="", expect_problem=False):
    """Fills the inputs, clicks "Berechnen" and waits until the table is done
    (or, with expect_problem, until the view has said why not)."""
    _type(browser, "perioden-moduln", moduli)
    _type(browser, "perioden-von", start)
    _type(browser, "perioden-bis", end)
    message = browser.find_element(By.ID, "perioden-meldung")
    browser.execute_script("arguments[0].textContent = '';", message)
    browser.find_element(By.ID, "perioden-start").click()
    table = browser.find_element(By.ID, "perioden-tabelle")
    if expect_problem:
        WebDriverWait(browser, 60).until(lambda _: message.text.strip())
    else:
        WebDriverWait(browser, 600).until(lambda _: table.get_attribute("data-state") in ("fertig", "fehler"))
        assert table.get_attribute("data-state") == "fertig", message.text


def table_rows(browser):
    """The table's rows, each its six cells' texts."""
    return browser.execute_script(
        "return Array.from(document.querySelectorAll('#perioden-tabelle tbody tr'),"
        " tr => Array.from(tr.cells, c => c.textContent));")
