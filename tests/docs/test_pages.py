# SPDX-License-Identifier: MIT
# README.md and docs/ as they must stay true: their commands run against the build (every "$ " line of a console
# block, every pycon block), their links lead somewhere, the reference is the program's help, the rooms as described.
import doctest
import os
import pathlib
import re
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
PAGES = [ROOT / "README.md", *sorted((ROOT / "docs").glob("*.md"))]
# The build folder the pages call build/default.
BUILD = os.environ.get("FIBMOD_BUILD_DIR", str(ROOT / "build/default"))


def blocks(page, kind):
    """The fenced blocks of one kind (```console) on a page, as (line number of their first line, text)."""
    text = page.read_text()
    return [(text.count("\n", 0, match.start(1)) + 1, match.group(1))
            for match in re.finditer(rf"^```{kind}\n(.*?)^```$", text, re.MULTILINE | re.DOTALL)]


def commands(page):
    """The commands of a page's console blocks, in order: a line after "$ ", and the lines a "\\" carries on to."""
    found = []
    for first, text in blocks(page, "console"):
        lines = text.split("\n")
        k = 0
        while k < len(lines):
            if lines[k].startswith("$ "):
                line, command = first + k, lines[k][2:]
                while command.endswith("\\") and k + 1 < len(lines):
                    k += 1
                    command = command[:-1] + " " + lines[k].strip()
                found.append((line, command))
            k += 1
    return found


def test_the_pages_show_commands_to_run():
    assert len(commands(ROOT / "README.md")) >= 2
    assert sum(len(blocks(page, "pycon")) for page in PAGES) >= 2


@pytest.mark.parametrize("page", PAGES, ids=lambda page: page.name)
def test_every_command_of_a_console_block_ends_with_status_0(page, tmp_path):
    environment = dict(os.environ)
    environment["PATH"] = os.path.dirname(os.environ["FIBMOD_CLI"]) + os.pathsep + environment["PATH"]
    # In order and in one folder, so that a command may read what one before it wrote.
    for line, command in commands(page):
        ran = subprocess.run(["bash", "-o", "pipefail", "-c", command.replace("build/default/", BUILD + "/")],
                             cwd=tmp_path, env=environment, capture_output=True, timeout=120)
        assert ran.returncode == 0, f"{page.name}:{line}: {command}\n{ran.stderr.decode()}"


@pytest.mark.parametrize("page", PAGES, ids=lambda page: page.name)
def test_every_pycon_block_gives_the_output_shown(page):
    for line, text in blocks(page, "pycon"):
        example = doctest.DocTestParser().get_doctest(text, {}, f"{page.name}:{line}", str(page), line - 1)
        report = []
        runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS | doctest.NORMALIZE_WHITESPACE)
        runner.run(example, out=report.append)
        assert runner.failures == 0, "".join(report)


def anchors(page):
    """The anchors of a page's headings, as GitHub makes them."""
    headings = re.findall(r"^#+ (.*)$", re.sub(r"^```.*?^```$", "", page.read_text(), flags=re.MULTILINE | re.DOTALL),
                          re.MULTILINE)
    return {re.sub(r"[^\w\- ]", "", heading.lower()).replace(" ", "-") for heading in headings}


@pytest.mark.parametrize("page", PAGES, ids=lambda page: page.name)
def test_every_link_to_a_file_of_the_project_finds_it(page):
    for target in re.findall(r"\]\(([^)#:]*)(?:#([^)]*))?\)", page.read_text()):
        path, anchor = target
        linked = (page.parent / path).resolve() if path else page
        assert linked.exists(), f"{page.name}: {path}"
        if anchor:
            assert anchor in anchors(linked), f"{page.name}: {path}#{anchor}"


def test_the_command_line_reference_is_the_programs_own_help():
    reference = re.search(r"^## The reference\n.*?^```text\n(.*?)^```$", (ROOT / "docs/cli.md").read_text(),
                          re.MULTILINE | re.DOTALL).group(1)
    help_all = subprocess.run([os.environ["FIBMOD_CLI"], "--help-all"], capture_output=True, check=True).stdout
    assert reference == help_all.decode().rstrip("\n") + "\n", \
        "docs/cli.md differs from fibmod-cli --help-all: paste the program's help into its reference"


def test_every_room_includes_only_the_rooms_the_architecture_names():
    table = re.search(r"^## What each room may include\n.*?(^\|.*?)\n\n", (ROOT / "docs/architecture.md").read_text(),
                      re.MULTILINE | re.DOTALL).group(1)
    allowed = {}
    for row in table.split("\n")[2:]:
        room, included = row.split("|")[1:3]
        allowed[room.strip(" `")] = {room.strip(" `")} | set(re.findall(r"`([\w/]+)`", included))
    for room, rooms in allowed.items():
        for source in [*(ROOT / room).glob("*.h"), *(ROOT / room).glob("*.cpp")]:
            for header in re.findall(r'^#include "([\w/]+)/[\w.-]+"', source.read_text(), re.MULTILINE):
                assert header in rooms, f"{source.relative_to(ROOT)} includes from {header}"
