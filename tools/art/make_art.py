#!/usr/bin/env python3
"""Renders the program's artwork from the SVG sources beside this script.

    make_art.py --art DIR --skins DIR [--language-ini FILE]

--art receives the pictures linked into the binaries (icons, bitmaps, PNGs); --skins receives
the skin pictures installed beside the program. SVG is rendered with rsvg-convert and turned
into 24-bit BMP, PNG or ICO with ImageMagick 6; the output depends only on the sources.
"""
import argparse
import configparser
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "/usr/bin/convert"  # ImageMagick 6; a stand-in may shadow it on PATH
RSVG = "rsvg-convert"

ICON_SIZES = (16, 24, 32, 48)
# Icon resource id -> source.
ICONS = {128: "icons/program.svg", 1011: "icons/exit.svg", 1012: "icons/settings.svg",
         3001: "icons/desktop.svg"}


def run(*cmd):
    subprocess.run(cmd, check=True)


def render_png(svg_text, width, height, out_png):
    """Renders SVG text to a PNG of exactly width x height."""
    subprocess.run([RSVG, "-w", str(width), "-h", str(height), "-o", out_png],
                   input=svg_text.encode("utf-8"), check=True)


def source(rel):
    with open(os.path.join(HERE, rel), encoding="utf-8") as f:
        return f.read()


def variant(svg_text, show):
    """Switches the SVG's optional groups: for each prefix (look, form, lang) only elements of
    the class prefix-value stay visible, e.g. show={"look": "over", "form": "two"}."""
    rules = "".join(
        f'[class*="{prefix}-"]:not(.{prefix}-{value}){{display:none}}'
        for prefix, value in show.items())
    head_end = svg_text.index(">", svg_text.index("<svg")) + 1
    return svg_text[:head_end] + f"<style>{rules}</style>" + svg_text[head_end:]


def to_bmp24(png, bmp, background="#ffffff"):
    """Flattens onto a background and writes an uncompressed 24-bit BMP without colour-space
    header (the form LoadImage and OleLoadPicture read everywhere)."""
    run(CONVERT, png, "-background", background, "-alpha", "remove", "-alpha", "off",
        "-type", "TrueColor", "-define", "bmp:format=bmp3", "BMP3:" + bmp)


def to_png(png, out, keep_alpha=True):
    args = [CONVERT, png]
    if not keep_alpha:
        args += ["-background", "#ffffff", "-alpha", "remove", "-alpha", "off"]
    run(*args, "-strip", "-define", "png:exclude-chunks=date,time", "PNG32:" + out
        if keep_alpha else "PNG24:" + out)


def make_icons(art, work):
    for rid, rel in ICONS.items():
        text = source(rel)
        pngs = []
        for size in ICON_SIZES:
            png = os.path.join(work, f"icon_{rid}_{size}.png")
            render_png(text, size, size, png)
            pngs.append(png)
        run(CONVERT, *pngs, os.path.join(art, f"icon_{rid}.ico"))


# Message box: resource id -> (form, look).
INFO_PICTURES = {1004: ("two", "down"), 1005: ("one", "down"), 1006: ("two", "normal"),
                 1007: ("one", "normal"), 1008: ("two", "over"), 1009: ("one", "over")}


def make_info(art, work):
    text = source("windows/info.svg")
    for rid, (form, look) in INFO_PICTURES.items():
        png = os.path.join(work, f"bitmap_{rid}.png")
        render_png(variant(text, {"form": form, "look": look}), 330, 160, png)
        to_bmp24(png, os.path.join(art, f"bitmap_{rid}.bmp"))


# Flags in language-table order: bitmaps 142.. (37 x 22) and PNG icons 130.. (19 x 11).
# Traditional Chinese shows the same flag as Chinese.
FLAGS = ("sc", "en", "fre", "kor", "ger", "ita", "span", "dutch", "pt", "rus", "ukr", "sc")
FLAG_BITMAP_FIRST, FLAG_PNG_FIRST = 142, 130


def make_flags(art, work):
    for index, name in enumerate(FLAGS):
        text = source(f"flags/{name}.svg")
        big = os.path.join(work, f"flag_{name}_37.png")
        render_png(text, 37, 22, big)
        to_bmp24(big, os.path.join(art, f"bitmap_{FLAG_BITMAP_FIRST + index}.bmp"))
        small = os.path.join(work, f"flag_{name}_19.png")
        render_png(text, 19, 11, small)
        to_png(small, os.path.join(art, f"png_{FLAG_PNG_FIRST + index}.png"))


def make_parts(art, work):
    frame = os.path.join(work, "png_129.png")
    render_png(source("parts/popup_frame.svg"), 65, 65, frame)
    to_png(frame, os.path.join(art, "png_129.png"))
    cells = os.path.join(work, "bitmap_166.png")
    render_png(source("parts/scrollbar.svg"), 163, 54, cells)
    to_bmp24(cells, os.path.join(art, "bitmap_166.bmp"))


LOOKS = ("normal", "over", "down")
MAIN_SIZE = (1000, 715)
# Language background resources: the normal main picture of each layout.
LANGUAGE_BACKGROUNDS = {"zh": 156, "en": 159}
SKIN_NAMES = {"normal": "Normal", "over": "Over", "down": "Down"}


def make_main(art, work):
    """Both layouts of the main window in all three looks; the normal ones double as the
    language backgrounds linked into the program."""
    text = source("windows/main.svg")
    for lang, rid in LANGUAGE_BACKGROUNDS.items():
        for look in LOOKS:
            png = os.path.join(work, f"main_{lang}_{look}.png")
            render_png(variant(text, {"lang": lang, "look": look}), *MAIN_SIZE, png)
            to_bmp24(png, os.path.join(art, f"main_{lang}_{look}.bmp"))
        shutil.copyfile(os.path.join(art, f"main_{lang}_normal.bmp"),
                        os.path.join(art, f"bitmap_{rid}.bmp"))
        # Both sets under their installed names, for installations of either basic language.
        layout_skins = os.path.join(art, f"skins-{lang}")
        os.makedirs(layout_skins, exist_ok=True)
        for look in LOOKS:
            shutil.copyfile(os.path.join(art, f"main_{lang}_{look}.bmp"),
                            os.path.join(layout_skins, f"Main_{SKIN_NAMES[look]}.bmp"))


def basic_language(ini_path):
    """The layout the installation starts in: "zh" when section languagetype has value 1."""
    if not ini_path or not os.path.exists(ini_path):
        return "en"
    with open(ini_path, "rb") as f:
        raw = f.read()
    if raw.startswith((b"\xff\xfe", b"\xfe\xff")):
        text = raw.decode("utf-16")
    else:
        text = raw.decode("utf-8-sig", errors="replace")
    parser = configparser.ConfigParser()
    try:
        parser.read_string(text)
        value = parser.get("languagetype", "value", fallback="0").strip()
    except configparser.Error:
        return "en"
    return "zh" if value == "1" else "en"


def install_skins(art, work, skins, lang):
    for look in LOOKS:
        shutil.copyfile(os.path.join(art, f"main_{lang}_{look}.bmp"),
                        os.path.join(skins, f"Main_{SKIN_NAMES[look]}.bmp"))
    for folder, rel, size, looks in (("setting", "windows/setting.svg", (413, 290), LOOKS),
                                     ("advanced", "windows/advanced.svg", (370, 169), LOOKS),
                                     ("base", "windows/base.svg", (370, 169), ("normal",))):
        os.makedirs(os.path.join(skins, folder), exist_ok=True)
        text = source(rel)
        prefix = folder.capitalize()
        for look in looks:
            png = os.path.join(work, f"{folder}_{look}.png")
            render_png(variant(text, {"look": look}), *size, png)
            to_bmp24(png, os.path.join(skins, folder, f"{prefix}_{SKIN_NAMES[look]}.bmp"))
    make_slider(work, skins)


def make_slider(work, skins):
    """The thumb, opaque, with every pixel outside the knob in the key colour magenta."""
    png = os.path.join(work, "slider.png")
    render_png(source("parts/slider.svg"), 20, 16, png)
    run(CONVERT, png, "-channel", "A", "-threshold", "50%", "+channel",
        "-background", "#ff00ff", "-alpha", "remove", "-alpha", "off", "-strip",
        "-define", "png:exclude-chunks=date,time", "PNG24:" + os.path.join(skins, "Slider.png"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--art", required=True)
    parser.add_argument("--skins", required=True)
    parser.add_argument("--language-ini")
    args = parser.parse_args()
    os.makedirs(args.art, exist_ok=True)
    os.makedirs(args.skins, exist_ok=True)
    work = os.path.join(args.art, "work")
    os.makedirs(work, exist_ok=True)
    make_icons(args.art, work)
    make_info(args.art, work)
    make_flags(args.art, work)
    make_parts(args.art, work)
    make_main(args.art, work)
    install_skins(args.art, work, args.skins, basic_language(args.language_ini))
    return 0


if __name__ == "__main__":
    sys.exit(main())
