#!/usr/bin/env python3
"""Checks that every generated picture exists with the size the program relies on.

    check_art.py --art DIR --skins DIR

Bitmaps must be uncompressed 24-bit BMP files; PNG and icon files are checked by their headers.
Exit status 0 when all pictures are right, 1 otherwise (one line per fault).
"""
import argparse
import os
import re
import struct
import sys

# Linked resources: file in the art folder -> (width, height).
RESOURCES = {
    **{f"bitmap_{i}.bmp": (1000, 715) for i in (156, 159)},
    **{f"bitmap_{i}.bmp": (37, 22) for i in range(142, 154)},
    "bitmap_166.bmp": (163, 54),
    **{f"bitmap_{i}.bmp": (330, 160) for i in range(1004, 1010)},
    "png_129.png": (65, 65),
    **{f"png_{i}.png": (19, 11) for i in range(130, 142)},
}
ICONS = [f"icon_{i}.ico" for i in (128, 1011, 1012, 3001)]
# Installed skins: path below the skins folder -> (width, height); None: any size.
SKINS = {
    **{f"Main_{look}.bmp": (1000, 715) for look in ("Normal", "Over", "Down")},
    "Slider.png": None,
    **{f"setting/Setting_{look}.bmp": None for look in ("Normal", "Over", "Down")},
    "base/Base_Normal.bmp": (370, 169),
    **{f"advanced/Advanced_{look}.bmp": (370, 169) for look in ("Normal", "Over", "Down")},
}
# The picker's controls reach to (412, 280): its pictures must cover them.
PICKER_MINIMUM = (413, 281)


# Control rectangles (left, top, right, bottom) whose looks the over and down pictures show.
# The main window's controls come from the program's own layout table, so the pictures are
# checked against the rectangles the program uses. The slider and the edit box have no looks
# in the over and down pictures.
MAIN_LAYOUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app",
                           "MainLayout.cpp")
MAIN_WITHOUT_LOOKS = {"SpeedSlider", "RowsEdit"}


def main_controls(layout_path):
    """{"zh": [...], "en": [...]}: rectangles of MainLayout.cpp's place table."""
    with open(layout_path, encoding="utf-8") as f:
        text = f.read()
    number = r"\s*(-?\d+)\s*"
    rect = r"\{" + ",".join([number] * 4) + r"\}"
    controls = {"zh": [], "en": []}
    for m in re.finditer(r"Same\(C::(\w+),\s*" + rect + r"\)", text):
        if m.group(1) not in MAIN_WITHOUT_LOOKS:
            for lang in controls:
                controls[lang].append(tuple(int(v) for v in m.groups()[1:5]))
    for m in re.finditer(r"\{C::(\w+),\s*" + rect + r",\s*" + rect + r"\}", text):
        if m.group(1) not in MAIN_WITHOUT_LOOKS:
            controls["zh"].append(tuple(int(v) for v in m.groups()[1:5]))
            controls["en"].append(tuple(int(v) for v in m.groups()[5:9]))
    return controls


PICKER_CONTROLS = [(383, 1, 411, 28), (0, 37, 82, 64), (83, 37, 165, 64), (166, 37, 248, 64),
                   (249, 37, 331, 64), (332, 37, 412, 64), (23, 258, 42, 277),
                   (249, 255, 321, 280), (321, 255, 393, 280)]
ADVANCED_CONTROLS = [(21, 37, 38, 54), (21, 63, 38, 80), (21, 88, 38, 105), (21, 114, 38, 131),
                     (100, 36, 263, 52), (100, 63, 262, 79), (100, 89, 262, 105),
                     (100, 116, 262, 132), (273, 33, 349, 55), (273, 59, 349, 81),
                     (273, 86, 349, 108), (273, 113, 349, 135),
                     # The "Keys..." row: choice, capture field, clear button.
                     (21, 140, 38, 157), (100, 141, 262, 157), (273, 138, 349, 160)]

# The message box's buttons: close, OK (and Cancel) of the two-button and the one-button form.
INFO_CONTROLS = {
    1006: [(300, 0, 329, 29), (183, 127, 249, 159), (249, 127, 315, 159)],
    1007: [(300, 0, 329, 29), (240, 127, 306, 159)],
}
# Background -> (hovered, pressed) of each message-box form.
INFO_LOOKS = {1006: (1008, 1004), 1007: (1009, 1005)}


def bmp_pixels(path):
    """(width, height, rows) of a 24-bit BMP; rows[y] holds the bytes of image row y."""
    with open(path, "rb") as f:
        data = f.read()
    width, height = bmp_size(data)
    offset = struct.unpack_from("<I", data, 10)[0]
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + i * stride: offset + i * stride + width * 3] for i in range(height)]
    if struct.unpack_from("<i", data, 22)[0] > 0:  # bottom-up
        rows.reverse()
    return width, height, rows


def check_looks(normal, other, controls, faults):
    """Every pixel where `other` differs from `normal` lies inside a control rectangle, and
    every control shows some difference: the looks line up with the controls."""
    try:
        w, h, base = bmp_pixels(normal)
        w2, h2, changed = bmp_pixels(other)
    except (OSError, ValueError, struct.error) as e:
        faults.append(f"{other}: {e}")
        return
    if (w, h) != (w2, h2):
        faults.append(f"{other}: size differs from {normal}")
        return
    shown = [False] * len(controls)
    for y in range(h):
        if base[y] == changed[y]:
            continue
        for x in range(w):
            if base[y][3 * x:3 * x + 3] == changed[y][3 * x:3 * x + 3]:
                continue
            inside = [i for i, (l, t, r, b) in enumerate(controls) if l <= x < r and t <= y < b]
            if not inside:
                faults.append(f"{other}: pixel ({x}, {y}) changes outside every control")
                return
            for i in inside:
                shown[i] = True
    for i, seen in enumerate(shown):
        if not seen:
            faults.append(f"{other}: control {controls[i]} shows no look of its own")


def bmp_size(data):
    if data[:2] != b"BM":
        raise ValueError("not a BMP file")
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError(f"{bits} bits, compression {compression}; want 24 bits uncompressed")
    return width, abs(height)


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    return struct.unpack_from(">II", data, 16)


def ico_sizes(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    return {(data[6 + 16 * i] or 256, data[7 + 16 * i] or 256) for i in range(count)}


def size_of(path):
    with open(path, "rb") as f:
        data = f.read()
    return png_size(data) if path.endswith(".png") else bmp_size(data)


def check(folder, table, faults):
    for name, want in table.items():
        path = os.path.join(folder, name)
        try:
            got = tuple(size_of(path))
        except (OSError, ValueError, struct.error) as e:
            faults.append(f"{path}: {e}")
            continue
        if want is not None and got != want:
            faults.append(f"{path}: {got[0]} x {got[1]}, want {want[0]} x {want[1]}")
        if "setting/" in name and (got[0] < PICKER_MINIMUM[0] or got[1] < PICKER_MINIMUM[1]):
            faults.append(f"{path}: {got[0]} x {got[1]} does not cover the picker's controls")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--art", required=True)
    parser.add_argument("--skins", required=True)
    args = parser.parse_args()
    faults = []
    check(args.art, RESOURCES, faults)
    check(args.skins, SKINS, faults)
    for name in ICONS:
        path = os.path.join(args.art, name)
        try:
            with open(path, "rb") as f:
                sizes = ico_sizes(f.read())
            if not {(16, 16), (32, 32)} <= sizes:
                faults.append(f"{path}: has {sorted(sizes)}, needs 16 x 16 and 32 x 32")
        except (OSError, ValueError, struct.error) as e:
            faults.append(f"{path}: {e}")
    main_layout = main_controls(MAIN_LAYOUT)
    if len(main_layout["zh"]) != 19:
        faults.append(f"{MAIN_LAYOUT}: read {len(main_layout['zh'])} main-window controls, want 19")
    for lang, controls in main_layout.items():
        for look in ("over", "down"):
            check_looks(os.path.join(args.art, f"main_{lang}_normal.bmp"),
                        os.path.join(args.art, f"main_{lang}_{look}.bmp"), controls, faults)
    for normal, looks in INFO_LOOKS.items():
        for look in looks:
            check_looks(os.path.join(args.art, f"bitmap_{normal}.bmp"),
                        os.path.join(args.art, f"bitmap_{look}.bmp"), INFO_CONTROLS[normal],
                        faults)
    for folder, controls in (("setting", PICKER_CONTROLS), ("advanced", ADVANCED_CONTROLS)):
        prefix = os.path.join(args.skins, folder, folder.capitalize())
        for look in ("Over", "Down"):
            check_looks(prefix + "_Normal.bmp", f"{prefix}_{look}.bmp", controls, faults)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
