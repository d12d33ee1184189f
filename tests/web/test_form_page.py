# SPDX-License-Identifier: MIT
# The form "Fibonaccifolgen" on the page: every box as the window's model and the command line have it.
import random

import pytest
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from conftest import cli_fields, make_browser

# The boxes by slot, as the model numbers them, under their ids on the page.
BOX_IDS = [f"Text1-{i}" for i in range(7)] + ["Text2"] + [f"Text3-{i}" for i in range(3)] + \
          [f"Text4-{i}" for i in range(4)]
BOX_NAMES = [f"Text1({i})" for i in range(7)] + ["Text2"] + [f"Text3({i})" for i in range(3)] + \
            [f"Text4({i})" for i in range(4)]
MODULUS = BOX_IDS.index("Text2")
INPUT_SLOTS = [BOX_IDS.index(i) for i in ("Text4-0", "Text4-1", "Text1-4", "Text1-5", "Text4-2", "Text4-3",
                                          "Text1-2", "Text1-3")]
LISTING_SLOTS = [BOX_IDS.index(i) for i in ("Text1-0", "Text1-1", "Text1-6")]
RESULT_SLOTS = [BOX_IDS.index(i) for i in ("Text1-0", "Text1-1", "Text1-6", "Text3-0", "Text3-1", "Text3-2")]


def wait(driver, condition, timeout=60):
    return WebDriverWait(driver, timeout).until(lambda d: d.execute_script(condition))


def open_page(driver, url, address=""):
    """A fresh start of the page, at `address`."""
    driver.get("about:blank")
    driver.get(url + address)
    wait(driver, "return document.getElementById('ansicht-formular').dataset.state === 'bereit'")


def page_texts(driver):
    return driver.execute_script("return arguments[0].map((id) => document.getElementById(id).value)", BOX_IDS)


def shown(text):
    """A text as a box on the page shows it: CR LF as a line break."""
    return text.replace("\r\n", "\n")


def take_messages(driver):
    """Every message the last action left, each confirmed with OK."""
    messages = []
    while driver.execute_script("return document.getElementById('meldung').open"):
        messages.append(driver.find_element(By.ID, "meldung-text").text)
        driver.find_element(By.ID, "meldung-ok").click()
    return messages


def edit(driver, slot, text):
    """One edit that leaves the box holding `text`, as a paste over its whole text does."""
    driver.execute_script(
        "const box = document.getElementById(arguments[0]); box.value = arguments[1];"
        "box.dispatchEvent(new Event('input', {bubbles: true}));", BOX_IDS[slot], shown(text))


def scroll(driver, value):
    driver.execute_script(
        "const bar = document.getElementById('HScroll1'); bar.value = arguments[0];"
        "bar.dispatchEvent(new Event('input', {bubbles: true}));", value)


def click(driver, command):
    driver.find_element(By.ID, f"Command{command}").click()


def assert_agrees(driver, model, step):
    assert page_texts(driver) == [shown(t) for t in model["texts"]], step
    assert int(driver.find_element(By.ID, "HScroll1").get_attribute("value")) == model["scroll"], step


def test_the_boxes_at_start_and_after_zeigen_equal_the_command_lines_fields(browser, site_url):
    open_page(browser, site_url)
    fields = cli_fields("--modulus", "2")
    texts = page_texts(browser)
    for slot in INPUT_SLOTS + [MODULUS]:
        assert texts[slot] == fields[BOX_NAMES[slot]], BOX_NAMES[slot]
    assert all(texts[slot] == "" for slot in RESULT_SLOTS)
    click(browser, 1)
    assert page_texts(browser) == [shown(fields[name]) for name in BOX_NAMES]


def test_every_box_has_its_id_a_name_and_the_windows_focus_order(browser, site_url):
    open_page(browser, site_url)
    assert browser.find_element(By.TAG_NAME, "html").get_attribute("lang") == "de"
    for box_id in BOX_IDS + ["HScroll1", "Command1", "Command2", "Command3", "Command4"]:
        element = browser.find_element(By.ID, box_id)
        name = element.get_attribute("aria-label") or element.text
        assert name.strip(), box_id
    assert browser.find_element(By.ID, "HScroll1").get_attribute("type") == "range"
    order = ["Text1-0", "Text1-1", "Text1-2", "Text1-3", "Text1-4", "Text1-5", "Text2", "Command1", "Command2",
             "Command3", "Text1-6", "Text3-0", "Text3-1", "Text3-2", "HScroll1", "Command4", "Text4-0", "Text4-1",
             "Text4-2", "Text4-3"]
    browser.find_element(By.ID, order[0]).click()
    for expected in order[1:]:
        browser.switch_to.active_element.send_keys(Keys.TAB)
        assert browser.switch_to.active_element.get_attribute("id") == expected


def test_typing_a_modulus_computes_after_every_keystroke_as_the_window_does(browser, site_url, replay):
    open_page(browser, site_url)
    box = browser.find_element(By.ID, "Text2")
    box.click()
    box.send_keys(Keys.CONTROL, "a")
    box.send_keys("1")
    replay.step("edit", MODULUS, "1")
    box.send_keys("7")
    model = replay.step("edit", MODULUS, "17")
    assert take_messages(browser) == []
    assert_agrees(browser, model, "typed 17")
    assert page_texts(browser)[BOX_IDS.index("Text3-2")] != ""


# Values a person might type: whole numbers, fractions with a point or a
# comma, negatives, exponents, nothing, words, and values that overflow.
INPUT_VALUES = ["0", "1", "-1", "2", "3", "-2", "5", "6", "4", "7", "10", "-5", "0.5", "1.5", "-0.25", "2,5", "",
                "abc", "1e3", "1e200", "1e308", "3.75", " 2", "-0"]
MODULUS_VALUES = ["0", "1", "2", "3", "7", "12", "25", "64", "97", "100", "2001", "-3", "12.5", "", "x", "1999",
                  "500", "5e2"]


def random_step(draw):
    kind = draw.random()
    if kind < 0.35:
        return ("edit", draw.choice(INPUT_SLOTS), draw.choice(INPUT_VALUES))
    if kind < 0.55:
        return ("edit", MODULUS, draw.choice(MODULUS_VALUES))
    if kind < 0.7:
        return ("scroll", draw.choice([draw.randint(2, 40), draw.randint(2, 2000)]))
    if kind < 0.8:
        return ("click", 1)
    if kind < 0.88:
        return ("click", 3)
    if kind < 0.93:
        return ("click", 4)
    slot = draw.choice(RESULT_SLOTS)
    # Only the listings take more than one line.
    return ("edit", slot, draw.choice(["", "x", "1\r\n2\r\n"] if slot in LISTING_SLOTS else ["", "x", "7"]))


@pytest.mark.parametrize("seed", [1, 2, 3, 4])
def test_random_edits_scrolls_and_clicks_agree_with_the_model_on_every_box(browser, site_url, replay, seed):
    draw = random.Random(seed)
    open_page(browser, site_url)
    for number in range(40):
        step = random_step(draw)
        if step[0] == "edit":
            edit(browser, step[1], step[2])
        elif step[0] == "scroll":
            scroll(browser, step[1])
        else:
            click(browser, step[1])
        model = replay.step(*step)
        where = f"seed {seed}, step {number}: {step}"
        assert take_messages(browser) == model["messages"], where
        assert_agrees(browser, model, where)


def test_errors_and_the_steppings_limit_appear_as_modal_dialogs(browser, site_url, replay):
    open_page(browser, site_url)
    r2 = BOX_IDS.index("Text4-3")
    edit(browser, r2, "0.5")
    edit(browser, MODULUS, "7")
    assert [m.split(":")[0] for m in take_messages(browser)] == ["Laufzeitfehler 9"]
    edit(browser, r2, "4")
    scroll(browser, 2000)
    take_messages(browser)
    click(browser, 4)
    assert browser.execute_script("return document.getElementById('meldung').matches(':modal')")
    assert take_messages(browser) == ["Begrenzung: Modul m < 2000"]


def test_stepping_stops_at_the_next_modulus_with_one_common_residue(browser, site_url, replay):
    open_page(browser, site_url)
    click(browser, 4)
    model = replay.step("click", 4)
    assert take_messages(browser) == model["messages"]
    assert_agrees(browser, model, "stepped once")
    assert page_texts(browser)[BOX_IDS.index("Text3-2")].strip() == "1"
    click(browser, 4)
    model = replay.step("click", 4)
    assert_agrees(browser, model, "stepped twice")


def test_cls_clears_the_listings_and_zeigen_twice_lists_again(browser, site_url, replay):
    open_page(browser, site_url)
    for step in [("edit", MODULUS, "12"), ("click", 3), ("click", 1), ("click", 1)]:
        if step[0] == "edit":
            edit(browser, step[1], step[2])
        else:
            click(browser, step[1])
        model = replay.step(*step)
        assert take_messages(browser) == model["messages"]
        assert_agrees(browser, model, step)


def test_ende_ends_the_run_and_the_page_offers_a_new_start(browser, site_url):
    open_page(browser, site_url)
    edit(browser, MODULUS, "12")
    click(browser, 2)
    wait(browser, "return !document.getElementById('beendet').hidden")
    assert "beendet" in browser.find_element(By.ID, "beendet").text
    assert not browser.find_element(By.ID, "Text2").is_displayed()
    browser.find_element(By.ID, "neustart").click()
    assert page_texts(browser)[MODULUS] == "2"
    assert page_texts(browser)[BOX_IDS.index("Text3-2")] == ""


def test_the_address_keeps_the_inputs_and_a_shared_link_shows_them(browser, site_url, replay):
    open_page(browser, site_url)
    edit(browser, INPUT_SLOTS[1], "3")
    edit(browser, MODULUS, "12")
    address = browser.execute_script("return window.location.hash")
    assert "r1=3" in address and "m=12" in address
    open_page(browser, site_url, address)
    replay.step("edit", INPUT_SLOTS[1], "3")
    model = replay.step("edit", MODULUS, "12")
    assert_agrees(browser, model, address)


def test_the_periods_address_opens_its_view_and_the_plain_one_the_form(browser, site_url):
    open_page(browser, site_url, "#perioden")
    assert not browser.find_element(By.ID, "Text2").is_displayed()
    browser.execute_script("window.location.hash = ''")
    wait(browser, "return !document.getElementById('ansicht-formular').hidden")
    assert browser.find_element(By.ID, "Text2").is_displayed()


def test_the_page_loads_and_computes_with_nothing_but_its_own_folder(site_url):
    # Every address but the page's own server leads nowhere.
    driver = make_browser(extra=("--proxy-server=http://0.0.0.0:9", "--proxy-bypass-list=127.0.0.1"))
    try:
        open_page(driver, site_url)
        edit(driver, MODULUS, "12")
        assert page_texts(driver)[BOX_IDS.index("Text3-0")] != ""
        loaded = driver.execute_script(
            "return performance.getEntriesByType('resource').map((entry) => entry.name)")
        assert loaded and all(name.startswith(site_url) for name in loaded)
    finally:
        driver.quit()


def test_a_phone_wide_page_stacks_the_halves_and_keeps_every_box_in_view(site_url):
    driver = make_browser(width=360, height=740)
    try:
        open_page(driver, site_url)
        width = driver.execute_script("return document.documentElement.clientWidth")
        for box_id in BOX_IDS:
            rect = driver.execute_script("return document.getElementById(arguments[0]).getBoundingClientRect()",
                                         box_id)
            assert 0 <= rect["left"] and rect["right"] <= width, box_id
        listing = driver.find_element(By.ID, "Text1-1").rect
        modulus = driver.find_element(By.ID, "Text2").rect
        assert modulus["y"] > listing["y"] + listing["height"]
    finally:
        driver.quit()


CONTRAST = """
const rgb = (text) => text.match(/[\\d.]+/g).slice(0, 3).map(Number);
const linear = (c) => { c /= 255; return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4; };
const luminance = ([r, g, b]) => 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
const background = (element) => {
  for (let e = element; e; e = e.parentElement) {
    const colour = getComputedStyle(e).backgroundColor;
    if (!colour.startsWith('rgba(0, 0, 0, 0)') && colour !== 'transparent') return rgb(colour);
  }
  return [255, 255, 255];
};
const elements = [...document.querySelectorAll('#formular .feld, #formular .knopf, #formular label, nav a, h1')];
return elements.map((element) => {
  const [a, b] = [luminance(rgb(getComputedStyle(element).color)), luminance(background(element))];
  return [element.id || element.textContent, (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05),
          getComputedStyle(element).backgroundColor];
});
"""


@pytest.mark.parametrize("scheme", ["light", "dark"])
def test_text_has_contrast_and_the_boxes_keep_their_colours_in_either_scheme(site_url, scheme):
    driver = make_browser()
    try:
        driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                               {"features": [{"name": "prefers-color-scheme", "value": scheme}]})
        open_page(driver, site_url)
        rows = driver.execute_script(CONTRAST)
        assert len(rows) >= 15 + 4 + 7
        for name, ratio, _ in rows:
            assert ratio >= 4.5, (scheme, name, ratio)
        colours = {name: colour for name, _, colour in rows}
        assert colours["Text2"] == "rgb(255, 255, 128)"
        assert colours["Text4-0"] == "rgb(192, 192, 255)"
        assert colours["Command2"] == "rgb(255, 0, 0)"
    finally:
        driver.quit()
