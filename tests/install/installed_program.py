#!/usr/bin/python3
"""ORVANEL as it is installed: the tree an install puts in place, its desktop entry and
software-centre page, and the installed program used as a new user would, on a screen of
its own, read over the accessibility bus as a screen reader reads it.

  installed_program.py --build BUILD-FOLDER      installs into a temporary prefix first
  installed_program.py --prefix PREFIX           uses an install that is there (/usr)

Each run of the program has a home folder of its own and no ORVANEL_HOME.
"""

import argparse
import datetime
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback
import xml.etree.ElementTree as ElementTree

APP_ID = "org.orvanel.Orvanel"
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def wait_for(find, timeout=30.0, what="something"):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = find()
        except Exception:  # a window closed while it was read: look again
            found = None
        if found:
            return found
        time.sleep(0.1)
    raise TimeoutError("timed out waiting for " + what)


# ---------------------------------------------------------------- the installed tree

def installed_files(prefix):
    """Every file under the prefix with its size and modification time."""
    files = {}
    for folder, _, names in os.walk(prefix):
        for name in names:
            path = os.path.join(folder, name)
            status = os.lstat(path)
            files[os.path.relpath(path, prefix)] = (status.st_size, status.st_mtime_ns)
    return files


def check_tree(prefix):
    files = installed_files(prefix)
    expected = [
        "bin/orvanel", "bin/orvanel-phonebook", "bin/orvanel-rtf",
        "share/orvanel/TIPOFDAY.TXT",
        f"share/applications/{APP_ID}.desktop",
        f"share/metainfo/{APP_ID}.metainfo.xml",
        f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
        "share/man/man1/orvanel.1", "share/man/man1/orvanel-phonebook.1",
        "share/man/man1/orvanel-rtf.1",
    ]
    for path in expected:
        check(path in files, "installed: " + path)
    pngs = [path for path in files if re.fullmatch(
        rf"share/icons/hicolor/(\d+)x\1/apps/{re.escape(APP_ID)}\.png", path)]
    check(len(pngs) >= 4, f"icons at several sizes ({len(pngs)} PNGs)")
    check(any(re.fullmatch(r"lib[^/]*(/[^/]+)?/orvanel/liborvanel_webengine\.so", path)
              for path in files), "the browser module under lib/orvanel")
    check(not any(name.startswith("tst_") or "/tst_" in name for name in files),
          "no test program installed")

    desktop = os.path.join(prefix, f"share/applications/{APP_ID}.desktop")
    result = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
    check(result.returncode == 0 and not result.stdout.strip(),
          "desktop-file-validate passes the desktop entry " + result.stdout.strip())
    entry = open(desktop, encoding="utf-8").read()
    check(re.search(r"^Exec=orvanel %F$", entry, re.M) is not None, "Exec takes files (%F)")
    check(re.search(r"^MimeType=.*\btext/rtf;", entry, re.M) is not None, "MimeType names RTF")

    metainfo = os.path.join(prefix, f"share/metainfo/{APP_ID}.metainfo.xml")
    result = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo],
                            capture_output=True, text=True)
    check(result.returncode == 0, "appstreamcli validate --no-net passes the metainfo " +
          (result.stdout + result.stderr).strip().replace("\n", " | "))

    version = subprocess.run([os.path.join(prefix, "bin/orvanel"), "--version"],
                             capture_output=True, text=True, env=clean_environment({}))
    check(version.returncode == 0, "orvanel --version answers without a display")
    number = version.stdout.split()[-1] if version.stdout.split() else "?"
    newest = ElementTree.parse(metainfo).getroot().find("releases/release")
    check(newest is not None and newest.get("version") == number,
          f"the metainfo's newest release is the program's version {number}")
    page = open(os.path.join(prefix, "share/man/man1/orvanel.1"), encoding="utf-8").read()
    check(f'"ORVANEL {number}"' in page, "the manual page names the program's version")
    help_text = subprocess.run([os.path.join(prefix, "bin/orvanel"), "--help"],
                               capture_output=True, text=True, env=clean_environment({}))
    check(help_text.returncode == 0 and "[FILE...]" in help_text.stdout,
          "orvanel --help names the files it opens")


def check_package(package):
    """The Debian package: its fields, and that it holds what an install puts in place."""
    fields = subprocess.run(["dpkg-deb", "--field", package], capture_output=True, text=True,
                            check=True).stdout
    field = dict(re.findall(r"^([A-Za-z-]+): (.*)$", fields, re.M))
    check(field.get("Package") == "orvanel", "the package is named orvanel")
    depends = field.get("Depends", "")
    check(all(library in depends for library in ("libqt6core6", "libqt6widgets6", "libsqlite3")),
          "its dependencies are worked out from the binaries: " + depends)
    recommends = field.get("Recommends", "")
    check("hardinfo" in recommends and "fonts-" in recommends,
          "it recommends hardinfo and the fonts: " + recommends)
    check(field.get("Section") not in (None, "devel"), "it has a section: " + field.get("Section", ""))
    contents = subprocess.run(["dpkg-deb", "--contents", package], capture_output=True, text=True,
                              check=True).stdout
    for path in ("./usr/bin/orvanel", f"./usr/share/applications/{APP_ID}.desktop",
                 "./usr/share/orvanel/TIPOFDAY.TXT"):
        check(re.search(re.escape(path) + r"$", contents, re.M) is not None, "the package holds " + path)


# ---------------------------------------------------------------- a user's session

def clean_environment(extra):
    environment = {key: value for key, value in os.environ.items()
                   if not key.startswith(("XDG_", "ORVANEL_", "QT_QPA"))}
    environment.pop("DISPLAY", None)
    environment.update(extra)
    return environment


class Screen:
    """A virtual screen with a window manager and an accessibility bus."""

    def __init__(self, folder):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1280x1024x24", "-nolisten", "tcp"], pass_fds=[write],
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            self.display = ":" + display.readline().strip()
        os.environ["DISPLAY"] = self.display
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        os.environ["XDG_RUNTIME_DIR"] = runtime
        # The window manager gives new windows the focus, as a desktop does.
        for _ in range(10):
            self.manager = subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL)
            time.sleep(0.5)
            if self.manager.poll() is None:
                break
        self.bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    stderr=subprocess.DEVNULL)
        time.sleep(1)
        import pyatspi  # noqa: E402 (needs the screen and the bus)
        self.atspi = pyatspi

    def close(self):
        for process in (self.bus, self.manager, self.xvfb):
            process.terminate()
            process.wait()


def walk(node):
    try:
        count = node.childCount
    except Exception:
        return
    yield node
    for index in range(count):
        try:
            child = node.getChildAtIndex(index)
        except Exception:
            continue
        if child is not None:
            yield from walk(child)


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:
        return ""


def showing(node):
    try:
        return node.getState().contains(node_states.STATE_SHOWING)
    except Exception:
        return False


node_states = None


class Program:
    """The installed program, started as from the application menu, in a home of its own."""

    def __init__(self, screen, prefix, home, arguments=()):
        global node_states
        node_states = screen.atspi
        self.screen = screen
        os.makedirs(home, exist_ok=True)
        environment = clean_environment({
            "HOME": home, "DISPLAY": screen.display,
            "XDG_RUNTIME_DIR": os.environ["XDG_RUNTIME_DIR"],
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
        })
        self.process = subprocess.Popen([os.path.join(prefix, "bin/orvanel"), *arguments],
                                        env=environment, stderr=subprocess.DEVNULL)
        self.application = wait_for(self._find_application, what="ORVANEL on the bus")

    def _find_application(self):
        desktop = self.screen.atspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            try:
                if application is not None and application.get_process_id() == self.process.pid:
                    return application
            except Exception:
                continue
        return None

    def nodes(self, role=None, name=None):
        return [node for node in walk(self.application)
                if (role is None or node.getRoleName() == role)
                and (name is None or node.name == name) and showing(node)]

    def wait_node(self, role=None, name=None, timeout=30.0):
        return wait_for(lambda: (self.nodes(role, name) or [None])[0], timeout,
                        f"{role or 'anything'} named {name!r}")

    def message(self, timeout=30.0, after=None):
        """The text of the message box that is up (another than the one `after` answered)."""
        def find():
            for box in self.nodes("alert"):
                texts = [node.name or text_of(node) for node in walk(box)
                         if node.getRoleName() == "label"]
                text = " ".join(t for t in texts if t)
                if text and text != after:
                    return text
            return None
        return wait_for(find, timeout, "a message box")

    def _press_in(self, window_role, window_name, button):
        def find():
            for window in self.nodes(window_role, window_name):
                for node in walk(window):
                    if node.getRoleName() == "push button" and node.name == button:
                        return node
            return None
        wait_for(find, what=f"{button} in {window_name or window_role}").queryAction().doAction(0)

    def answer(self, button):
        """Presses a button of the message box that is up."""
        self._press_in("alert", None, button)

    def close_tip(self):
        self._press_in(None, "Tip of the Day", "OK")

    def menu(self, *path):
        """Runs a menu command through its accessibility action, as a screen reader does."""
        node = self.application
        for name in path:
            node = wait_for(lambda: next((item for item in walk(node)
                                          if item.getRoleName() == "menu item"
                                          and item.name == name), None),
                            what="menu item " + name)
        node.queryAction().doAction(0)

    def activate(self):
        """Brings the main window forward with the keyboard's focus, as a click on it would."""
        # A window that closes meanwhile (the tip of the day) makes xdotool give up: again.
        for _ in range(20):
            if subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                               str(self.process.pid), "--name", "^ORVANEL( |$)", "windowactivate",
                               "--sync"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=30).returncode == 0:
                return
            time.sleep(0.3)
        raise TimeoutError("the main window could not be brought forward")

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "30", *keys], check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)

    def editor_texts(self):
        return [text_of(node) for node in self.nodes("text")]

    def end(self):
        """Exits with F12 (File > Exit), nothing being left to save. On a busy machine a
        window closing meanwhile (the tip of the day) may take the key: pressed again."""
        for _ in range(3):
            if self.process.poll() is not None:
                return
            try:
                self.activate()
            except TimeoutError:
                continue
            self.keys("F12")
            try:
                self.process.wait(timeout=10)
                return
            except subprocess.TimeoutExpired:
                continue
        self.process.kill()
        self.process.wait()
        check(False, "the program ended on File > Exit")


def entry_name():
    return datetime.date.today().strftime("Diary %m-%d-%Y.DIA")


def write_new_entry(program, words):
    """Ctrl+F5, the words typed, F2; the first save makes the diary folder."""
    program.activate()
    program.keys("ctrl+F5")
    program.wait_node("text")
    time.sleep(0.3)
    program.type(words)
    wait_for(lambda: any(words in text for text in program.editor_texts()),
             what="the typed words in the editor")
    program.keys("F2")
    question = program.message()
    if "does not exist" in question:
        program.answer("Yes")


def rtf_holds(path, words, timeout=10.0):
    def holds():
        try:
            return words in open(path, encoding="latin-1").read()
        except OSError:
            return False
    try:
        return wait_for(holds, timeout, path)
    except TimeoutError:
        return False


def contacts_in(path):
    with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as database:
        return database.execute("SELECT count(*) FROM PHONEBOOK").fetchone()[0]


def new_user(screen, prefix, world):
    home = os.path.join(world, "new-user")
    before = installed_files(prefix)
    program = Program(screen, prefix, home)
    data = os.path.join(home, ".local/share/orvanel")

    shipped_tips = [line.strip() for line in
                    open(os.path.join(prefix, "share/orvanel/TIPOFDAY.TXT"), encoding="latin-1")
                    if line.strip()]
    tip = program.wait_node(name="Tip of the Day")
    tip_texts = [text_of(node) or node.name for node in walk(tip)]
    check(any(text.strip() in shipped_tips for text in tip_texts if text.strip()),
          "the tip of the day comes from the shipped tips file")
    program.close_tip()

    check(stat_mode(data) == 0o700, "a new data folder in ~/.local/share/orvanel, the user's alone")
    phone_book = os.path.join(data, "ORVANEL.MDB")
    check(os.path.isfile(phone_book) and contacts_in(phone_book) == 0,
          "a new data folder starts with an empty phone book")

    write_new_entry(program, "Written on a new install")
    check(rtf_holds(os.path.join(data, "Diary", entry_name()), "Written on a new install"),
          "a saved entry lands in the data folder's Diary")

    program.menu("Run", "PhoneBook")
    program.wait_node("push button", "Add")
    check(not program.nodes("alert"), "Run > PhoneBook opens the empty phone book")
    program.keys("Escape")
    program.end()
    check(installed_files(prefix) == before, "the installed program wrote nothing into its prefix")
    return data


def stat_mode(path):
    try:
        return os.stat(path).st_mode & 0o777
    except OSError:
        return None


def copy_of_install(prefix, target):
    """ORVANEL's own files of an install (its programs, module and shipped data)."""
    os.makedirs(os.path.join(target, "bin"))
    for program in ("orvanel", "orvanel-phonebook", "orvanel-rtf"):
        shutil.copy2(os.path.join(prefix, "bin", program), os.path.join(target, "bin"))
    for folder, names, _ in os.walk(prefix):
        relative = os.path.relpath(folder, prefix)
        if "orvanel" in names and (relative == "share" or relative.startswith("lib")):
            shutil.copytree(os.path.join(folder, "orvanel"),
                            os.path.join(target, relative, "orvanel"))
        if relative.count(os.sep) >= 1:
            names.clear()
    return target


def portable_copy(screen, prefix, world):
    stick = copy_of_install(prefix, os.path.join(world, "stick"))
    programs = os.path.join(stick, "bin")
    open(os.path.join(programs, "portable"), "w").close()
    home = os.path.join(world, "portable-user")
    program = Program(screen, stick, home)
    program.close_tip()
    write_new_entry(program, "Kept on the stick")
    check(rtf_holds(os.path.join(programs, "Diary", entry_name()), "Kept on the stick"),
          "a portable copy keeps its diary beside the program")
    program.end()
    check(not os.path.exists(os.path.join(home, ".local/share/orvanel")),
          "a portable copy makes no data folder in the home folder")


def older_build(screen, prefix, world):
    old = copy_of_install(prefix, os.path.join(world, "older"))
    programs = os.path.join(old, "bin")
    os.makedirs(os.path.join(programs, "Diary"))
    entry = os.path.join(programs, "Diary", "Diary 01-02-2025.DIA")
    with open(entry, "w", encoding="ascii") as file:
        file.write(r"{\rtf1\ansi Written with an older build.\par}")
    book = os.path.join(programs, "ORVANEL.MDB")
    tool = os.path.join(old, "bin/orvanel-phonebook")
    subprocess.run([tool, "init", book], check=True, env=clean_environment({}))
    subprocess.run([tool, "sample", book, "3"], check=True, env=clean_environment({}))

    home = os.path.join(world, "upgrading-user")
    data = os.path.join(home, ".local/share/orvanel")
    # No, and the question again at the next start, are the in-process tests' (tst_mainwindow).
    program = Program(screen, old, home)
    question = program.message()
    check("1 diary entry and a phone book" in question and programs in question
          and data in question, "an older build's diary is offered, naming both folders: "
          + question)
    program.answer("Yes")
    done = program.message(after=question)
    check("copied" in done and programs in done, "Yes copies and says so: " + done)
    program.answer("OK")
    program.close_tip()
    program.end()
    copied = os.path.join(data, "Diary", "Diary 01-02-2025.DIA")
    check(os.path.isfile(copied) and open(copied, "rb").read() == open(entry, "rb").read(),
          "the entry is copied as it was")
    check(os.path.isfile(entry) and os.path.isfile(book), "the originals are left in place")
    check(contacts_in(os.path.join(data, "ORVANEL.MDB")) == 3, "the phone book is copied whole")


def open_with(screen, prefix, world):
    folder = os.path.join(world, "documents")
    os.makedirs(folder)
    letter = os.path.join(folder, "letter.rtf")
    with open(letter, "w", encoding="ascii") as file:
        file.write(r"{\rtf1\ansi Dear Anna, the garden is in bloom.\par}")
    program = Program(screen, prefix, os.path.join(world, "open-with-user"), [letter])
    program.close_tip()
    text = wait_for(lambda: next((t for t in program.editor_texts() if "garden" in t), None),
                    what="the file's text in a diary window")
    check("Dear Anna, the garden is in bloom." in text, "orvanel FILE opens it in a diary window")
    program.end()


def screen_reader_reads_a_page(screen, prefix, world):
    """A screen reader that runs before the program reads a browser window's page."""
    home = os.path.join(world, "reading-user")
    page = os.path.join(world, "article.html")
    with open(page, "w", encoding="utf-8") as file:
        file.write("<html><head><title>Article</title></head><body><h1>The heading</h1>"
                   "<p>A paragraph to read.</p><a href='#end'>A link</a></body></html>")
    settings = os.path.join(home, ".config", "orvanel")
    os.makedirs(settings)
    with open(os.path.join(settings, "orvanel.ini"), "w", encoding="utf-8") as file:
        file.write(f"[Options]\nShow Tips at Startup=0\n\n[Browser]\nStartPage=file://{page}\n")
    program = Program(screen, prefix, home)
    program.menu("Run", "Web Browser")

    def page_read():
        heard = [node.name or text_of(node) for node in program.nodes()]
        return all(any(words in text for text in heard)
                   for words in ("The heading", "A paragraph to read.", "A link"))
    try:
        found = wait_for(page_read, 60, "the page's heading, text and link")
    except TimeoutError:
        found = False
    check(found, "a screen reader reads a browser window's page: heading, text and link")
    program.end()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", help="a build folder to install into a temporary prefix")
    parser.add_argument("--prefix", help="an installed prefix to test as it is")
    parser.add_argument("--package", help="the Debian package to check")
    parser.add_argument("--only", help="run this scenario alone")
    arguments = parser.parse_args()
    world = tempfile.mkdtemp(prefix="orvanel-install-")
    try:
        prefix = arguments.prefix
        if arguments.build:
            prefix = os.path.join(world, "prefix")
            subprocess.run(["cmake", "--install", arguments.build, "--prefix", prefix],
                           check=True, stdout=subprocess.DEVNULL)
        check_tree(prefix)
        if arguments.package:
            if check(os.path.isfile(arguments.package), "the package is built: " + arguments.package):
                check_package(arguments.package)
        screen = Screen(world)
        try:
            for scenario in (new_user, portable_copy, older_build, open_with,
                             screen_reader_reads_a_page):
                if arguments.only and scenario.__name__ != arguments.only:
                    continue
                try:
                    scenario(screen, prefix, world)
                except Exception as error:  # one scenario's failure does not hide the rest
                    traceback.print_exc()
                    check(False, f"{scenario.__name__}: {error!r}")
        finally:
            screen.close()
    finally:
        shutil.rmtree(world, ignore_errors=True)
    print(f"{len(failures)} failed" if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
