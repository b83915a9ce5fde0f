"""The page in headless Chromium, against the native command line's results.

    browser_test.py [SITE_DIR PIXMORPH_CLI SPRITE.grp]

(by default build-web/site, build/bin/pixmorph-cli and build/samples/orb.grp of this checkout).
Serves SITE_DIR on 127.0.0.1, opens the sprite (as probe.grp) and a palette through the file
input, and checks the preview's pixels, playback, the ZIP, sheet, frame and compile downloads,
hostile files, and the demo page. Ends with an 'N passed, N failed' line; the exit status is 1
on any failure.
"""
import os
import sys

# Selenium and Pillow are Debian's, which only Debian's own interpreter finds (not one of a
# user's version managers earlier on the PATH).
try:
    import selenium  # noqa: F401
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

import base64
import functools
import http.server
import io
import shutil
import struct
import subprocess
import tempfile
import threading
import time
import zipfile
from pathlib import Path

from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

WAIT_SECONDS = 30

ROOT = Path(__file__).resolve().parents[2]
site_dir, cli, sample = (os.path.abspath(arg) for arg in sys.argv[1:4]) if len(sys.argv) == 4 else (
    str(ROOT / "build-web/site"), str(ROOT / "build/bin/pixmorph-cli"),
    str(ROOT / "build/samples/orb.grp"))
results = []


def case(function):
    """Runs one check; a failure is recorded and the next check still runs."""
    try:
        function()
        results.append((function.__name__, None))
        print(f"PASS {function.__name__}")
    except Exception as error:  # every kind of failure is the test's to report
        results.append((function.__name__, error))
        print(f"FAIL {function.__name__}: {type(error).__name__}: {error}")


def check(condition, what):
    if not condition:
        raise AssertionError(what)


# ---- Inputs and the native results -------------------------------------------------------------

work = tempfile.mkdtemp(prefix="pixmorph-web-test-")
inputs = os.path.join(work, "in")
downloads = os.path.join(work, "downloads")
os.makedirs(inputs)
os.makedirs(downloads)

sprite = os.path.join(inputs, "probe.grp")
shutil.copy(sample, sprite)

# A JASC palette far from the built-in one, so a page that ignored it would show.
palette = os.path.join(inputs, "probe.pal")
with open(palette, "w", newline="\r\n") as out:
    out.write("JASC-PAL\n0100\n256\n")
    for i in range(256):
        out.write(f"{(i * 7) % 256} {(255 - i) % 256} {(i * 13 + 40) % 256}\n")

# A sprite the command line reads but will not export (a frame reaching past the picture), and
# one whose frame table is cut short.
with open(os.path.join(inputs, "wide.grp"), "wb") as out:
    out.write(struct.pack("<HHH", 1, 4, 4) + struct.pack("<BBBBI", 0, 0, 8, 1, 14))
    out.write(struct.pack("<H", 2) + bytes([8] + [5] * 8))
with open(os.path.join(inputs, "cut.grp"), "wb") as out:
    out.write(struct.pack("<HHH", 300, 64, 64) + bytes(20))
with open(os.path.join(inputs, "short.pal"), "wb") as out:
    out.write(bytes(30))


def native(folder, *args):
    """pixmorph-cli run in `folder` (names as the page passes them); its stderr lines."""
    result = subprocess.run([cli, *args], cwd=folder, capture_output=True, text=True, timeout=60)
    return result.returncode, result.stderr.splitlines()


def native_export(name, *options):
    folder = os.path.join(work, "native", name)
    os.makedirs(folder)
    status, err = native(inputs, "export", *options, "--palette", "probe.pal", "--output-dir",
                         folder, "probe.grp")
    check(status == 0, f"native export {options}: {err}")
    return folder


def folder_files(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in os.listdir(folder)}


# ---- The server and the browser ----------------------------------------------------------------


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(QuietHandler, directory=site_dir))
threading.Thread(target=server.serve_forever, daemon=True).start()
page_url = f"http://127.0.0.1:{server.server_address[1]}/index.html"

options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,900",
                 "--disable-dev-shm-usage", "--force-color-profile=srgb"):
    options.add_argument(argument)
options.add_experimental_option("prefs", {
    "download.default_directory": downloads,
    "download.prompt_for_download": False,
    "safebrowsing.enabled": False,
})
browser = None


def wait(condition, what):
    try:
        return WebDriverWait(browser, WAIT_SECONDS).until(lambda _: condition())
    except WebDriverException as error:
        raise AssertionError(f"waited {WAIT_SECONDS} s for {what}") from error


def element(element_id):
    return browser.find_element(By.ID, element_id)


def open_page(query=""):
    browser.get(page_url + query)
    wait(lambda: browser.execute_script("return document.body.dataset.ready === 'true'"),
         "the module to load")


def open_files(*names):
    element("file-input").send_keys("\n".join(os.path.join(inputs, n) for n in names))


def shown_sprite(name, frames):
    wait(lambda: element("sprite-select").get_attribute("value") == name
         and element("frame-count").text == str(frames), f"{name} with {frames} frames")


def error_lines():
    return [item.text.removeprefix("✖ ").strip() for item in
            browser.find_elements(By.CSS_SELECTOR, "#messages li.error")]


def downloaded(name):
    """The bytes of a finished download, taken out of the folder."""
    path = os.path.join(downloads, name)
    wait(lambda: os.path.exists(path) and not os.path.exists(path + ".crdownload"),
         f"the download {name}")
    with open(path, "rb") as file:
        data = file.read()
    os.remove(path)
    return data


def unzipped(data):
    with zipfile.ZipFile(io.BytesIO(data)) as archive:
        return {info.filename: archive.read(info) for info in archive.infolist()}


def choose(name, value):
    browser.find_element(By.CSS_SELECTOR, f'input[name="{name}"][value="{value}"]').click()


def click_when_enabled(element_id):
    wait(lambda: element(element_id).is_enabled(), f"#{element_id} to be enabled")
    element(element_id).click()


def canvas_sprite_pixels():
    """The sprite's rectangle on the preview canvas, RGBA, and its size."""
    script = """
        const canvas = document.getElementById('preview-canvas');
        const left = Number(canvas.dataset.spriteLeft), top = Number(canvas.dataset.spriteTop);
        const width = canvas.width - 2 * left, height = canvas.height - 2 * top;
        const data = canvas.getContext('2d').getImageData(left, top, width, height).data;
        let text = '';
        for (let i = 0; i < data.length; i += 8192)
            text += String.fromCharCode.apply(null, data.subarray(i, i + 8192));
        return [width, height, btoa(text)];
    """
    width, height, encoded = browser.execute_script(script)
    return width, height, base64.b64decode(encoded)


# ---- Checks ------------------------------------------------------------------------------------

frame_count = struct.unpack_from("<H", open(sample, "rb").read())[0]


def preview_equals_exported_frame_0():
    open_page()
    open_files("probe.grp", "probe.pal")
    shown_sprite("probe.grp", frame_count)
    wait(lambda: element("palette-select").get_attribute("value") == "probe.pal", "the palette")
    Select(element("zoom")).select_by_value("1")
    folder = native_export("frame0-bmp", "--frames", "0")
    with Image.open(os.path.join(folder, "probe000.bmp")) as bitmap:
        indices = list(bitmap.getdata())
        colours = bitmap.getpalette()
        size = bitmap.size
    width, height, pixels = canvas_sprite_pixels()
    check((width, height) == size, f"canvas {width} x {height}, bitmap {size}")
    light, dark = (tuple(int(c[i:i + 2], 16) for i in (1, 3, 5)) for c in
                   browser.execute_script("return [PixmorphPreview.CHECK_LIGHT, PixmorphPreview.CHECK_DARK]"))
    drawn = 0
    for i, index in enumerate(indices):
        shown = tuple(pixels[4 * i:4 * i + 3])
        if index == 0:
            check(shown in (light, dark), f"pixel {i} (index 0) is {shown}, not the checkerboard")
        else:
            drawn += 1
            expected = tuple(colours[3 * index:3 * index + 3])
            check(shown == expected and pixels[4 * i + 3] == 255,
                  f"pixel {i} (index {index}) is {shown}, the bitmap has {expected}")
    check(drawn > 0, "frame 0 draws no pixel")


def playback_runs_and_pauses():
    element("play").click()
    wait(lambda: element("frame-number").text not in ("0", "–"), "playback to move on")
    element("play").click()
    paused_at = element("frame-number").text
    time.sleep(0.3)
    check(element("frame-number").text == paused_at, "playback goes on after Pause")
    Select(element("zoom")).select_by_value("1")  # a reset for the checks after
    element("frame-slider").send_keys("\ue011")  # Home: back to frame 0
    wait(lambda: element("frame-number").text == "0", "the slider to reach frame 0")


def zip_downloads_equal_native_export():
    cases = [("all", "bmp", "probe-bmp.zip", ()),
             ("unique", "bmp", "probe-bmp-unique.zip", ("--unique",)),
             ("all", "png", "probe-png.zip", ("--format", "png"))]
    for frames, format_, name, native_options in cases:
        choose("frames", frames)
        choose("format", format_)
        click_when_enabled("export-zip")
        page = unzipped(downloaded(name))
        reference = folder_files(native_export(name, *native_options))
        check(sorted(page) == sorted(reference), f"{name} holds {sorted(page)}")
        for file_name, data in reference.items():
            check(page[file_name] == data, f"{name}: {file_name} differs from the native one")
    late = browser.execute_script("""
        const ready = Number(document.body.dataset.readyAt);
        return performance.getEntriesByType('resource')
            .filter((entry) => entry.startTime > ready).map((entry) => entry.name);""")
    check(late == [], f"requests after the page had loaded: {late}")


def sheet_and_frame_downloads_equal_native_export():
    choose("frames", "unique")
    click_when_enabled("export-sheet")
    page = unzipped(downloaded("probe-sheet-unique.zip"))
    reference = folder_files(native_export("sheet", "--sheet", "--unique"))
    check(page == reference, f"the sheet ZIP holds {sorted(page)}, unlike the native export")

    element("stage").click()
    element("stage").send_keys("\ue014\ue014\ue014\ue012")  # right three times, left once
    wait(lambda: element("frame-number").text == "2", "the arrow keys to reach frame 2")
    click_when_enabled("export-frame")
    reference = folder_files(native_export("frame2", "--format", "png", "--frames", "2"))
    check(downloaded("probe002.png") == reference["probe002.png"], "frame 2's PNG differs")


def compile_download_equals_native_compile():
    """A list of PNG frames compiled compact, and a sheet compiled plain."""
    for list_name, folder, options in (("probe.qbl", ("for-compile", "--format", "png"), ("--compact",)),
                                       ("probe.json", ("sheet-for-compile", "--sheet"), ())):
        frames = native_export(*folder)
        for name in os.listdir(frames):
            shutil.copy(os.path.join(frames, name), inputs)
        open_files(*sorted(os.listdir(frames)))
        wait(lambda: element("list-select").get_attribute("value") == list_name, list_name)
        if element("compact").is_selected() != bool(options):
            element("compact").click()
        click_when_enabled("compile")
        page = downloaded("x_probe.grp")
        out = os.path.join(work, "native", "compiled-" + list_name)
        os.makedirs(out)
        status, err = native(inputs, "compile", *options, "--palette", "probe.pal",
                             "--output-dir", out, list_name)
        check(status == 0, f"native compile of {list_name}: {err}")
        check(page == open(os.path.join(out, "x_probe.grp"), "rb").read(),
              f"x_probe.grp from {list_name} differs from the native compile")


def hostile_files_show_the_command_line_message():
    refused = os.path.join(work, "native", "refused")
    os.makedirs(refused)
    for name, args in (("cut.grp", ("info", "cut.grp")),
                       ("short.pal", ("export", "--palette", "short.pal", "--output-dir", refused,
                                      "probe.grp")),
                       ("wide.grp", ("export", "--output-dir", refused, "wide.grp"))):
        status, expected = native(inputs, *args)
        check(status != 0 and len(expected) == 1, f"native {args}: {expected}")
        before = len(error_lines())
        open_files(name)
        if name == "wide.grp":  # read, shown, refused by the export
            shown_sprite(name, 1)
            click_when_enabled("export-zip")
        wait(lambda: len(error_lines()) > before, f"a message about {name}")
        shown = error_lines()[0]
        check(shown == expected[0], f"the page says {shown!r}, the command line {expected[0]!r}")
        alert = element("alert")
        check(alert.is_displayed() and alert.text == expected[0], f"the alert says {alert.text!r}")
    Select(element("sprite-select")).select_by_value("probe.grp")
    shown_sprite("probe.grp", frame_count)
    width, height, pixels = canvas_sprite_pixels()
    check(any(pixels[3::4]), "probe.grp draws nothing after the hostile files")


def demo_page_shows_the_demo_sprite():
    open_page("?demo")
    wait(lambda: element("sprite-select").get_attribute("value") == "orb.grp"
         and element("frame-count").text not in ("", "–"), "the demo sprite")
    width, height, pixels = canvas_sprite_pixels()
    check(width > 0 and any(pixels[3::4]), "the demo frame draws nothing")
    check(not error_lines(), f"messages on the demo page: {error_lines()}")


try:
    browser = webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver"))
    browser.set_page_load_timeout(WAIT_SECONDS)
    for check_function in (preview_equals_exported_frame_0, playback_runs_and_pauses,
                           zip_downloads_equal_native_export,
                           sheet_and_frame_downloads_equal_native_export,
                           compile_download_equals_native_compile,
                           hostile_files_show_the_command_line_message,
                           demo_page_shows_the_demo_sprite):
        case(check_function)
except WebDriverException as error:
    results.append(("browser", error))
    print(f"FAIL the browser could not be started: {error}")
finally:
    if browser is not None:
        browser.quit()
    server.shutdown()
    server.server_close()
    shutil.rmtree(work, ignore_errors=True)

failed = sum(1 for _, error in results if error is not None)
print(f"{len(results) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
