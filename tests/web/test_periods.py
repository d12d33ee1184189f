# SPDX-License-Identifier: MIT
# The page's view "Perioden" in headless Chromium against the native fibmod-cli period.
import os
import random
import subprocess

import pytest
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

from periods_page import open_periods, run_periods, set_sequences, table_rows

CLI = os.environ.get("FIBMOD_CLI", "fibmod-cli")

# Two pairs of sequences: the window's at start, and one whose s share
# factors with many moduli (so that their starts lie off the cycle).
START_INPUTS = {"r1": "6", "s1": "-1", "start1": ("1", "1"), "r2": "4", "s2": "-1", "start2": ("1", "1")}
SHARED_FACTOR_INPUTS = {"r1": "10", "s1": "-210", "start1": ("1", "0"), "r2": "3", "s2": "30", "start2": ("2", "-5")}


def cli_period(moduli, inputs, *options):
    """fibmod-cli period's standard output as bytes."""
    args = [CLI, "period", *options]
    for name, value in inputs.items():
        args += [f"--{name}", ",".join(value) if name.startswith("start") else value]
    result = subprocess.run(args + [str(m) for m in moduli], capture_output=True, timeout=300)
    assert result.returncode == 0, result.stderr.decode()
    return result.stdout


def cli_table_rows(moduli, inputs):
    """The command line's table as cells: five numbers, then the factors."""
    lines = cli_period(moduli, inputs).decode().splitlines()
    rows = []
    for line in lines[1:]:
        words = line.split()
        rows.append(words[:5] + [" ".join(words[5:])])
    return rows


def special_moduli(rng):
    """Squares and cubes of primes, powers of 2, products of many small primes, extremes."""
    primes = [p for p in range(2, 200) if all(p % d for d in range(2, p))]
    moduli = [2, 3, 4, 2**63, 2**64 - 1, 2**64 - 59, 2**62 - 57, 4294967291 * 4294967279]
    moduli += [2**k for k in range(1, 64, 5)]
    moduli += [p * p for p in (3, 5, 7, 65521, 4294967291)] + [p**3 for p in (2, 3, 2097143)]
    moduli += [614889782588491410]  # 2·3·5·…·47
    for _ in range(10):
        m = 1
        while True:
            p = rng.choice(primes[:12])
            if m * p >= 2**64:
                break
            m *= p
        moduli.append(m)
    # Moduli with the primes of s (2, 3, 5, 7) and a large one.
    moduli += [210 * 1000000007, 9 * 25 * 49 * 999999937, 2**20 * 3**5]
    return moduli


@pytest.fixture
def rng():
    seed = int(os.environ.get("FIBMOD_RANDOM_SEED", random.randrange(2**32)))
    print(f"seed {seed} (FIBMOD_RANDOM_SEED={seed} replays it)")
    return random.Random(seed)


@pytest.mark.parametrize("inputs", [START_INPUTS, SHARED_FACTOR_INPUTS], ids=["start", "shared-factor"])
def test_random_and_special_moduli_equal_the_command_line_and_so_does_the_csv(browser, site_url, tmp_path, rng, inputs):
    moduli = [rng.randrange(2, 2**64) for _ in range(200)] + special_moduli(rng)
    open_periods(browser, site_url)
    set_sequences(browser, inputs)
    run_periods(browser, moduli="\n".join(map(str, moduli)))
    assert table_rows(browser) == cli_table_rows(moduli, inputs)

    browser.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": str(tmp_path)})
    browser.find_element(By.ID, "perioden-csv").click()
    target = tmp_path / "perioden.csv"
    # The file is whole once Chromium has renamed it from its .crdownload.
    WebDriverWait(browser, 30).until(lambda _: target.exists() and not list(tmp_path.glob("*.crdownload")))
    assert target.read_bytes() == cli_period(moduli, inputs, "--format", "csv")


def test_a_range_equals_the_command_lines_range(browser, site_url):
    open_periods(browser, site_url)
    run_periods(browser, start="18446744073709551000", end="18446744073709551615")
    expected = cli_period([], START_INPUTS, "--from", "18446744073709551000", "--to", "18446744073709551615")
    rows = [line.split() for line in expected.decode().splitlines()[1:]]
    assert table_rows(browser) == [r[:5] + [" ".join(r[5:])] for r in rows]


def test_a_modulus_from_2_to_the_64_is_refused_naming_the_command_line_and_the_rows_stay(browser, site_url):
    open_periods(browser, site_url)
    run_periods(browser, moduli="10\n11")
    before = table_rows(browser)
    run_periods(browser, moduli="12\n18446744073709551616", expect_problem=True)
    message = browser.find_element(By.ID, "perioden-meldung").text
    assert "fibmod-cli" in message and "2^64" in message and "Zeile 2" in message
    assert table_rows(browser) == before


def test_the_view_opens_from_its_address_on_load_and_on_a_hash_change(browser, site_url):
    browser.get(site_url + "#perioden")
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "perioden-start").is_displayed())
    browser.get(site_url)
    WebDriverWait(browser, 30).until(lambda b: not b.find_element(By.ID, "perioden-start").is_displayed())
    browser.execute_script("location.hash = '#perioden'")
    WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "perioden-start").is_displayed())
    assert browser.find_element(By.TAG_NAME, "html").get_attribute("lang") == "de"
    for field in ("perioden-moduln", "perioden-von", "perioden-bis"):
        label = browser.find_element(By.CSS_SELECTOR, f"label[for='{field}']")
        assert label.text.strip()


def test_the_address_keeps_the_list_and_a_link_with_a_list_computes_it(browser, site_url):
    open_periods(browser, site_url)
    run_periods(browser, start="100", end="120")
    assert browser.execute_script("return location.hash") == "#perioden&von=100&bis=120"
    browser.get("about:blank")
    browser.get(site_url + "#perioden&moduln=10,12,1000000007")
    table = browser.find_element(By.ID, "perioden-tabelle")
    WebDriverWait(browser, 60).until(lambda _: table.get_attribute("data-state") == "fertig")
    assert table_rows(browser) == cli_table_rows([10, 12, 1000000007], START_INPUTS)
