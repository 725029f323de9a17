#!/usr/bin/env python3
"""Writes the Qt Designer files in res/ from the dialog templates below.

Positions are Windows dialog units. They become pixels the way Windows maps a
dialog template: x px = round(x * cx / 4), y px = round(y * cy / 8), where cx and
cy are the dialog font's base units. The font is "ＭＳ Ｐゴシック" 9 pt; where it
is missing the program falls back to IPAPGothic, whose measured metrics at 9 pt
and 96 dpi (average width of A-Z a-z: 369 px / 52, rounded as Windows does; line
height 13 px) give the base units used here: cx = 7, cy = 13.

Run after changing a template: python3 scripts/make-dialogs.py
With --check it writes nothing and fails when a file in res/ differs from what
it would write (the tests run it so).
"""
import sys
from pathlib import Path
from xml.sax.saxutils import escape

RES = Path(__file__).resolve().parent.parent / "res"

CX, CY = 7, 13


def px_x(dlu):
    return (dlu * CX + 2) // 4   # MulDiv rounds half away from zero


def px_y(dlu):
    return (dlu * CY + 4) // 8


# name, class, template size (dlu), caption, controls
# control: objectName, Qt class, text, (x, y, w, h) in dlu, extra properties
DIALOGS = [
    ("titler_dlg", "CTitlerDlgUi", (251, 287), "Vrellix", [
        ("ctl1003", "QLineEdit", None, (18, 24, 133, 13), {}),
        ("ctl1004", "QLineEdit", None, (18, 53, 133, 13), {}),
        ("ctl1007", "QLineEdit", None, (18, 82, 133, 13), {}),
        ("ctl1006", "QTableWidget", None, (18, 101, 214, 124), {}),
        ("ctl1000", "QPushButton", "CSVﾌｧｲﾙ読込", (17, 240, 52, 25), {}),
        ("ctl1001", "QPushButton", "CSVﾌｧｲﾙ保存", (72, 240, 52, 25), {}),
        ("ctl1002", "QPushButton", "処理開始", (127, 240, 52, 25), {}),
        ("ctl1", "QPushButton", "終了", (182, 240, 52, 25), {"default": True}),
        ("staticTitle", "QLabel", "Title", (18, 13, 83, 8), {}),
        ("staticArtist", "QLabel", "Artist", (18, 71, 83, 8), {}),
        ("staticYomi", "QLabel", "よみ", (18, 42, 83, 8), {}),
        ("ctl1030", "QLabel", "0/32", (154, 27, 36, 8), {}),
        ("ctl1031", "QLabel", "0/16", (154, 56, 36, 8), {}),
        ("ctl1032", "QLabel", "0/32", (154, 85, 36, 8), {}),
    ], ["ctl1003", "ctl1004", "ctl1007", "ctl1006", "ctl1000", "ctl1001", "ctl1002", "ctl1"]),
    ("about_dlg", "CAboutDlgUi", (235, 55), "Vrellixのﾊﾞｰｼﾞｮﾝ情報", [
        ("staticIcon", "QLabel", None, (11, 17, 20, 20), {"icon": True}),
        ("staticVersion", "QLabel", "Vrellix Version 1.0", (40, 10, 119, 8), {}),
        ("ctl1", "QPushButton", "OK", (178, 7, 50, 14), {"default": True}),
    ], ["ctl1"]),
    ("track_edit_dlg", "CTrackEditDlgUi", (306, 71), "入力", [
        ("ctl1007", "QLineEdit", None, (40, 23, 117, 12), {}),
        ("ctl1", "QPushButton", "OK", (113, 45, 34, 14), {"default": True}),
        ("ctl2", "QPushButton", "ｷｬﾝｾﾙ", (158, 45, 34, 14), {}),
        ("ctl1003", "QLineEdit", None, (17, 23, 19, 12), {"disabled": True}),
        ("staticNo", "QLabel", "No", (17, 13, 9, 8), {}),
        ("staticName", "QLabel", "曲名", (40, 13, 79, 8), {}),
        ("ctl1008", "QLineEdit", None, (163, 23, 117, 12), {}),
        ("staticYomi", "QLabel", "よみ", (163, 13, 79, 8), {}),
        ("ctl1033", "QLabel", "0/32", (120, 13, 37, 8), {"right": True}),
        ("ctl1034", "QLabel", "0/16", (243, 13, 37, 8), {"right": True}),
    ], ["ctl1007", "ctl1", "ctl2", "ctl1008"]),
    ("port_settings_dlg", "CPortSettingsDlgUi", (186, 77), "通信設定", [
        ("staticPort", "QLabel", "ｼﾘｱﾙﾎﾟｰﾄ", (7, 7, 80, 8), {}),
        ("ctl1020", "QComboBox", None, (7, 17, 172, 12), {"editable": True}),
        ("staticDelay", "QLabel", "ｺﾏﾝﾄﾞDELAY(ms)", (7, 36, 80, 8), {}),
        ("ctl1021", "QSpinBox", None, (7, 46, 50, 12), {"range": (0, 10000)}),
        ("ctl1", "QPushButton", "OK", (91, 56, 42, 14), {"default": True}),
        ("ctl2", "QPushButton", "ｷｬﾝｾﾙ", (137, 56, 42, 14), {}),
    ], ["ctl1020", "ctl1021", "ctl1", "ctl2"]),
    ("entry_progress_dlg", "CEntryProgressDlgUi", (154, 115), "ＲＺＴデータ入力中", [
        ("ctl1010", "QProgressBar", "Progress1", (14, 42, 127, 10), {}),
        ("ctl1011", "QLabel", "処理内容", (16, 23, 101, 11), {}),
        ("ctl1012", "QLabel", "", (16, 56, 127, 9), {}),
        ("ctl1013", "QLabel", "", (16, 67, 127, 9), {}),
        ("ctl1000", "QPushButton", "Button1", (59, 81, 35, 18), {"autodefault": False}),
    ], ["ctl1000"]),
]


# Dialogs whose template size is only their smallest: no maximum size.
RESIZABLE = {"titler_dlg"}


def prop(name, inner):
    return f'   <property name="{name}">\n    {inner}\n   </property>\n'


def control(name, cls, text, rect, extra):
    x, y, w, h = rect
    left, top = px_x(x), px_y(y)
    width, height = px_x(x + w) - left, px_y(y + h) - top
    out = f'  <widget class="{cls}" name="{name}">\n'
    out += prop("geometry", f"<rect><x>{left}</x><y>{top}</y><width>{width}</width>"
                f"<height>{height}</height></rect>")
    if cls == "QProgressBar":
        out += prop("accessibleName", f"<string>{escape(text)}</string>")
        out += prop("value", "<number>0</number>")
        out += prop("textVisible", "<bool>false</bool>")
    elif text is not None:
        out += prop("text", f"<string>{escape(text)}</string>")
    if cls == "QLabel" and extra.get("right"):
        out += prop("alignment", "<set>Qt::AlignTrailing|Qt::AlignRight|Qt::AlignTop</set>")
    elif cls == "QLabel" and not extra.get("icon"):
        out += prop("alignment", "<set>Qt::AlignLeading|Qt::AlignLeft|Qt::AlignTop</set>")
    if cls == "QLabel":
        out += prop("focusPolicy", "<enum>Qt::NoFocus</enum>")
    if extra.get("editable"):
        out += prop("editable", "<bool>true</bool>")
    if "range" in extra:
        out += prop("minimum", f"<number>{extra['range'][0]}</number>")
        out += prop("maximum", f"<number>{extra['range'][1]}</number>")
    if extra.get("icon"):
        out += prop("pixmap", '<pixmap resource="vrellix.qrc">:/icons/vrellix-32.png</pixmap>')
    if extra.get("disabled"):
        out += prop("enabled", "<bool>false</bool>")
        out += prop("focusPolicy", "<enum>Qt::NoFocus</enum>")
    if cls == "QPushButton":
        out += prop("autoDefault", "<bool>%s</bool>" % ("false" if extra.get("autodefault") is False else "true"))
        if extra.get("default"):
            out += prop("default", "<bool>true</bool>")
    out += "  </widget>\n"
    return out


def dialog(name, cls, size, caption, controls, tabs):
    w, h = px_x(size[0]), px_y(size[1])
    out = '<?xml version="1.0" encoding="UTF-8"?>\n'
    out += (f"<!-- Generated by scripts/make-dialogs.py from the {size[0]} x {size[1]} dialog-unit "
            f"template; base units cx = {CX}, cy = {CY} (IPAPGothic 9 pt at 96 dpi). -->\n")
    out += '<ui version="4.0">\n'
    out += f" <class>{cls}</class>\n"
    out += f' <widget class="QDialog" name="{cls}">\n'
    geometry = f"<rect><x>0</x><y>0</y><width>{w}</width><height>{h}</height></rect>"
    out += prop("geometry", geometry).replace("   ", "  ", 1)
    size_xml = f"<size><width>{w}</width><height>{h}</height></size>"
    out += prop("minimumSize", size_xml)
    if name not in RESIZABLE:
        out += prop("maximumSize", size_xml)
    out += prop("windowTitle", f"<string>{escape(caption)}</string>")
    for c in controls:
        out += control(*c)
    out += " </widget>\n"
    out += " <tabstops>\n" + "".join(f"  <tabstop>{t}</tabstop>\n" for t in tabs) + " </tabstops>\n"
    out += ' <resources>\n  <include location="vrellix.qrc"/>\n </resources>\n'
    out += " <connections/>\n</ui>\n"
    return out


def main(check):
    stale = []
    for name, cls, size, caption, controls, tabs in DIALOGS:
        path = RES / f"{name}.ui"
        text = dialog(name, cls, size, caption, controls, tabs).encode("utf-8")
        if not check:
            path.write_bytes(text)
        elif not path.exists() or path.read_bytes() != text:
            stale.append(path.name)
    for name in stale:
        print(f"res/{name} differs from what scripts/make-dialogs.py writes: edit the script and run it")
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main("--check" in sys.argv[1:]))
