#!/usr/bin/python3
"""Drives the desktop program's workbench through the accessibility bus, as a screen reader would.

Every control is found by the name a screen reader speaks (its caption), never by its object name:
the product is switched with the radio buttons, the Direct Credit fields are typed, "Reformat Data"
is pressed, the message box is read and closed, and the program is left through Window > Exit.

Run by ./run, which gives it a display, a session bus and the accessibility bus:
    drive_workbench.py PROGRAM WORK_FOLDER
"""

import datetime
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 20.0  # seconds for any one thing to appear on the bus
MESSAGE_TITLE = "Convertor QRV"
TEXT_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY}


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=TIMEOUT):
    """The first true value of probe(); bus errors while the window changes count as 'not yet'."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            found = probe()
            if found:
                return found
        except Failure:
            raise
        except Exception as e:  # an object that went away between two calls
            last_error = e
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}" + (f" (last error: {last_error})" if last_error else ""))
        time.sleep(0.05)


def showing(acc):
    states = acc.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def descendants(root):
    """Every object under root that is on screen; hidden branches are not entered."""
    stack = [root.getChildAtIndex(i) for i in range(root.childCount - 1, -1, -1)]
    while stack:
        acc = stack.pop()
        if acc is None or not showing(acc):
            continue
        yield acc
        stack.extend(acc.getChildAtIndex(i) for i in range(acc.childCount - 1, -1, -1))


def find_all(root, name, roles):
    return [a for a in descendants(root) if a.getRole() in roles and a.name == name]


def find(root, name, roles, what):
    """The one object on screen with this name and one of these roles."""
    def probe():
        found = find_all(root, name, roles)
        if len(found) > 1:
            raise Failure(f"{len(found)} objects named {name!r} for {what}")
        return found[0] if found else None
    return wait_for(f"{what} named {name!r}", probe)


def press(acc):
    """Runs the object's press (or toggle) action, as a screen reader's 'activate' does."""
    action = acc.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    for wanted in ("press", "click", "toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise Failure(f"{acc.name!r} offers no press action, only {names}")


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def type_into(root, caption, value):
    field = find(root, caption, TEXT_ROLES, "text field")
    field.queryEditableText().setTextContents(value)
    wait_for(f"{caption!r} to hold the typed text", lambda: text_of(field) == value)


def choose(root, caption):
    radio = find(root, caption, {pyatspi.ROLE_RADIO_BUTTON}, "product choice")
    press(radio)
    wait_for(f"{caption!r} to be checked", lambda: radio.getState().contains(pyatspi.STATE_CHECKED))


def application_of(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def dialogs(app, title):
    """The program's dialogs on screen whose title starts with `title`."""
    found = []
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if (w is not None and w.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) and showing(w)
                and w.name.startswith(title)):
            found.append(w)
    return found


def message_boxes(app):
    """Message boxes carry the program's title."""
    return [w for w in dialogs(app, MESSAGE_TITLE) if w.name == MESSAGE_TITLE]


def texts_in(box):
    """What a screen reader reads out of a message box: its labels, name and description."""
    texts = [box.name, box.description]
    for acc in descendants(box):
        if acc.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC):
            texts.append(acc.name)
            try:
                texts.append(text_of(acc))
            except NotImplementedError:
                pass
    return [t for t in texts if t]


def direct_credit_file(effective):
    """A Direct Credit file in the long-amount layout, built from its columns: header with the
    company name at 16-45 and the effective date ddmmyy at 48-53, record count at 54-58; one detail
    with the account at 1-10, the amount at 18-28 and the name at 29-88."""
    header = "H00000001HEAD  " + "ACME TRADING".ljust(30) + "  " + effective.strftime("%d%m%y") + "00001"
    detail = "1234567896" + " " * 7 + "00000012345" + "John Smith".ljust(60)
    assert len(header) == 58 and len(detail) == 88
    return (header + "\r\n" + detail + "\r\n").encode("ascii")


def drive(program, work):
    source = os.path.join(work, "payments.txt")
    destination = os.path.join(work, "upload.txt")
    with open(source, "wb") as f:
        f.write(direct_credit_file(datetime.date.today() + datetime.timedelta(days=1)))

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    log = open(os.path.join(work, "program.log"), "wb")
    proc = subprocess.Popen([program], cwd=work, env=env, stdout=log, stderr=subprocess.STDOUT)
    app = None
    try:
        app = wait_for("the program on the accessibility bus", lambda: application_of(proc.pid))
        # The frame's caption joins the maximized workbench's: "Convertor - [Version ...]".
        wait_for("the main window", lambda: [w for w in descendants(app) if w.getRole() == pyatspi.ROLE_FRAME
                                             and w.name.startswith("Convertor")])
        step("the main window is on the accessibility bus")

        # Switching products changes the fields shown: Manager Cheque asks for an invoice file,
        # Direct Credit does not.
        choose(app, "Manager Cheque")
        find(app, "Invoice File Name", TEXT_ROLES, "Manager Cheque's invoice field")
        choose(app, "Media Clearing")
        choose(app, "Direct Credit")
        wait_for("the invoice field to go", lambda: not find_all(app, "Invoice File Name", TEXT_ROLES))
        step("switched products: Manager Cheque, Media Clearing, Direct Credit")

        type_into(app, "Company ID", "ACME01")
        type_into(app, "Debit Account", "1234567896")
        type_into(app, "Debit Fee Account", "1234567896")
        type_into(app, "Source File Name", source)
        type_into(app, "Destination File Name", destination)
        step("filled the five fields")

        before = datetime.date.today()
        press(find(app, "Reformat Data", {pyatspi.ROLE_PUSH_BUTTON}, "command button"))
        box = wait_for("the message box", lambda: (message_boxes(app) or [None])[0])
        after = datetime.date.today()
        texts = wait_for("the message box's text", lambda: texts_in(box))
        expected = {f"Reformat data and add to {d.isoformat()}ACME01_DCP.zip completed" for d in (before, after)}
        if not expected & set(texts):
            raise Failure(f"the message box reads {texts}, not {sorted(expected)}")
        step(f"the message box reads {sorted(expected & set(texts))[0]!r}")
        press(find(box, "OK", {pyatspi.ROLE_PUSH_BUTTON}, "message box button"))
        wait_for("the message box to close", lambda: not message_boxes(app))

        # Then the result report, whose page a screen reader reads as text.
        preview = wait_for("the result report", lambda: (dialogs(app, "Reformat Result Report") or [None])[0])
        page = find(preview, "Report", {pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT, pyatspi.ROLE_DOCUMENT_WEB,
                                        pyatspi.ROLE_DOCUMENT_FRAME}, "report page")
        content = wait_for("the report's text", lambda: text_of(page))
        for wanted in ("Direct Credit", "ACME01", "ACME TRADING", destination):
            if wanted not in content:
                raise Failure(f"the result report does not show {wanted!r}: {content[:400]!r}")
        press(find(preview, "Close", {pyatspi.ROLE_PUSH_BUTTON}, "report window button"))
        wait_for("the report to close", lambda: not dialogs(app, "Reformat Result Report"))
        step("the result report names the product, the company and the upload file, and closes")

        with open(destination, "rb") as f:
            upload = f.read()
        hash_shown = text_of(find(app, "Hash Value", TEXT_ROLES, "hash field"))
        if hash_shown != upload[:40].decode("ascii"):
            raise Failure(f"the window shows hash {hash_shown!r}, the upload file starts {upload[:40]!r}")
        step("the upload file is written and its hash shown")

        exit_item = wait_for("the Exit menu item",
                             lambda: [a for a in all_objects(app) if a.getRole() == pyatspi.ROLE_MENU_ITEM
                                      and a.name == "Exit"][0:1])[0]
        try:
            press(exit_item)
        except Exception:
            if proc.poll() is None:  # the answer may be lost only because the program has ended
                raise
        status = proc.wait(timeout=TIMEOUT)
        if status != 0:
            raise Failure(f"the program ended with status {status}")
        step("left through Window > Exit")
    except Failure:
        if app is not None:
            dump(app)
        raise
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        log.close()


def all_objects(root):
    """Every object under root, shown or not (menus are off screen until opened)."""
    stack = [root]
    while stack:
        acc = stack.pop()
        if acc is None:
            continue
        yield acc
        stack.extend(acc.getChildAtIndex(i) for i in range(acc.childCount))


def dump(app):
    """What the bus shows of the program, for finding out why a step failed."""
    def walk(acc, depth):
        try:
            role, name, shown = acc.getRoleName(), acc.name, showing(acc)
            print(f"{'  ' * depth}{role} {name!r}{'' if shown else ' (hidden)'}", file=sys.stderr)
            if depth == 0 or shown:
                for i in range(acc.childCount):
                    walk(acc.getChildAtIndex(i), depth + 1)
        except Exception as e:
            print(f"{'  ' * depth}<gone: {e}>", file=sys.stderr)
    print("on the accessibility bus:", file=sys.stderr)
    walk(app, 0)


def step(text):
    print(f"ok: {text}", flush=True)


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, work = sys.argv[1], sys.argv[2]
    try:
        drive(program, work)
    except Failure as e:
        print(f"FAILED: {e}", file=sys.stderr)
        log = os.path.join(work, "program.log")
        if os.path.exists(log):
            with open(log, errors="replace") as f:
                sys.stderr.write("program output:\n" + f.read())
        return 1
    print("drive_workbench: every step passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
