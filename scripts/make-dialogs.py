#!/usr/bin/env python3
"""Writes the dialogs in res/ from the dialog templates below: Qt Designer
files for the Qt program, and vrellix.rc with resource.h for the Win32 one, so
the two cannot drift apart; and vrellix-cli.rc, the command-line program's icon
and version. It also packs the program icon's PNG files into
res/icons/vrellix.ico.

Positions are Windows dialog units. They become pixels the way Windows maps a
dialog template: x px = round(x * cx / 4), y px = round(y * cy / 8), where cx and
cy are the dialog font's base units. The font is "ＭＳ Ｐゴシック" 9 pt; where it
is missing the program falls back to IPAPGothic, whose measured metrics at 9 pt
and 96 dpi (average width of A-Z a-z: 369 px / 52, rounded as Windows does; line
height 13 px) give the base units used here: cx = 7, cy = 13.

Run after changing a template: python3 scripts/make-dialogs.py
With --check it writes nothing and fails when a file in res/ differs from what
it would write (the tests run it so).

In the .rc the positions stay dialog units and Windows maps them itself.
"""
import re
import struct
import sys
from pathlib import Path
from xml.sax.saxutils import escape

RES = Path(__file__).resolve().parent.parent / "res"
# The command delay's limit is the core's, which also holds the settings file and
# --delay to it.
LINK_SETTINGS = RES.parent / "src" / "settings" / "link_settings.h"


def max_command_delay_ms():
    found = re.search(r"constexpr int kMaxCommandDelayMs = (\d+);", LINK_SETTINGS.read_text(encoding="utf-8"))
    if not found:
        sys.exit(f"{LINK_SETTINGS}: no kMaxCommandDelayMs")
    return int(found.group(1))


CX, CY = 7, 13


def px_x(dlu):
    return (dlu * CX + 2) // 4   # MulDiv rounds half away from zero


def px_y(dlu):
    return (dlu * CY + 4) // 8


# name, class, template size (dlu), caption, controls
# control: key, Qt class, text, (x, y, w, h) in dlu, extra properties. A key
# "ctlN" is the control the programs address as id N (1 and 2: OK, ｷｬﾝｾﾙ); its
# Qt object name comes from its symbol in RC_DIALOGS (IDC_TRACKS: "tracks").
# Other keys are the object names of texts no program changes.
DIALOGS = [
    ("titler_dlg", "CTitlerDlgUi", (251, 287), "Vrellix", [
        ("ctl1003", "QLineEdit", None, (18, 24, 133, 13), {}),
        ("ctl1004", "QLineEdit", None, (18, 53, 133, 13), {}),
        ("ctl1007", "QLineEdit", None, (18, 82, 133, 13), {}),
        ("ctl1006", "QTableWidget", None, (18, 101, 214, 124), {}),
        # Access keys that no menu of the window takes (通信設定 is P, About A);
        # no default button: Enter in a field goes on to the next one.
        ("ctl1000", "QPushButton", "CSVﾌｧｲﾙ読込(&L)", (17, 240, 52, 25), {"multiline": True}),
        ("ctl1001", "QPushButton", "CSVﾌｧｲﾙ保存(&S)", (72, 240, 52, 25), {"multiline": True}),
        ("ctl1002", "QPushButton", "処理開始(&G)", (127, 240, 52, 25), {"multiline": True}),
        ("ctl1", "QPushButton", "終了(&X)", (182, 240, 52, 25), {"multiline": True}),
        ("staticTitle", "QLabel", "Title", (18, 13, 83, 8), {}),
        ("staticArtist", "QLabel", "Artist", (18, 71, 83, 8), {}),
        ("staticYomi", "QLabel", "よみ", (18, 42, 83, 8), {}),
        ("ctl1030", "QLabel", "0/32", (154, 27, 36, 8), {}),
        ("ctl1031", "QLabel", "0/16", (154, 56, 36, 8), {}),
        ("ctl1032", "QLabel", "0/32", (154, 85, 36, 8), {}),
        # What jobs run on: the port (or the simulator) and the command delay.
        ("ctl1035", "QLabel", "", (18, 271, 214, 8), {}),
    ], ["ctl1003", "ctl1004", "ctl1007", "ctl1006", "ctl1000", "ctl1001", "ctl1002", "ctl1"]),
    ("about_dlg", "CAboutDlgUi", (235, 55), "Vrellixのﾊﾞｰｼﾞｮﾝ情報", [
        ("staticIcon", "QLabel", None, (11, 17, 20, 20), {"icon": True}),
        ("staticVersion", "QLabel", "Vrellix Version 1.0", (40, 10, 119, 8), {}),
        ("ctl1", "QPushButton", "OK", (178, 7, 50, 14), {"default": True}),
    ], ["ctl1"]),
    # The Win32 tab order is the template's: the name, the reading, OK, ｷｬﾝｾﾙ.
    ("track_edit_dlg", "CTrackEditDlgUi", (306, 71), "入力", [
        ("ctl1007", "QLineEdit", None, (40, 23, 117, 12), {}),
        ("ctl1008", "QLineEdit", None, (163, 23, 117, 12), {}),
        ("ctl1", "QPushButton", "OK", (113, 45, 34, 14), {"default": True}),
        ("ctl2", "QPushButton", "ｷｬﾝｾﾙ", (158, 45, 34, 14), {}),
        ("ctl1003", "QLineEdit", None, (17, 23, 19, 12), {"disabled": True}),
        ("staticNo", "QLabel", "No", (17, 13, 9, 8), {}),
        ("staticName", "QLabel", "曲名", (40, 13, 79, 8), {}),
        ("staticYomi", "QLabel", "よみ", (163, 13, 79, 8), {}),
        ("ctl1033", "QLabel", "0/32", (120, 13, 37, 8), {"right": True}),
        ("ctl1034", "QLabel", "0/16", (243, 13, 37, 8), {"right": True}),
    ], ["ctl1007", "ctl1008", "ctl1", "ctl2"]),
    ("port_settings_dlg", "CPortSettingsDlgUi", (186, 97), "通信設定", [
        ("staticPort", "QLabel", "ｼﾘｱﾙﾎﾟｰﾄ", (7, 7, 80, 8), {}),
        ("ctl1020", "QComboBox", None, (7, 17, 172, 12), {"editable": True}),
        # The ports found, or that there are none: two lines for a long list.
        ("ctl1022", "QLabel", "", (7, 31, 172, 16), {"wrap": True}),
        ("staticDelay", "QLabel", "ｺﾏﾝﾄﾞDELAY(ms)", (7, 51, 80, 8), {}),
        ("ctl1021", "QSpinBox", None, (7, 61, 50, 12), {"range": (0, max_command_delay_ms())}),
        ("ctl1", "QPushButton", "OK", (91, 76, 42, 14), {"default": True}),
        ("ctl2", "QPushButton", "ｷｬﾝｾﾙ", (137, 76, 42, 14), {}),
    ], ["ctl1020", "ctl1021", "ctl1", "ctl2"]),
    # よみを一括推定: the readings it would fill in, each with a check box; the
    # selected row's reading, picked from its candidates or typed; the names
    # left unread and why.
    ("reading_choice_dlg", "CReadingChoiceDlgUi", (280, 214), "よみを一括推定", [
        ("staticRows", "QLabel", "よみを入れる項目(チェックした項目だけ変更します)", (7, 7, 266, 8), {}),
        ("ctl1040", "QListWidget", None, (7, 17, 266, 96), {}),
        ("staticReading", "QLabel", "選んだ項目のよみ(候補から選ぶか入力して下さい)", (7, 118, 266, 8), {}),
        ("ctl1041", "QComboBox", None, (7, 128, 266, 12), {"editable": True}),
        ("staticSkipped", "QLabel", "よみを推定しなかった名前", (7, 146, 266, 8), {}),
        ("ctl1042", "QPlainTextEdit", None, (7, 156, 266, 32), {}),
        ("ctl1", "QPushButton", "OK", (177, 193, 46, 14), {"default": True}),
        ("ctl2", "QPushButton", "ｷｬﾝｾﾙ", (227, 193, 46, 14), {}),
    ], ["ctl1040", "ctl1041", "ctl1042", "ctl1", "ctl2"]),
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


def object_name(key, symbols):
    """The Qt name of a control: its Win32 symbol in camel case, without IDC_."""
    symbol = control_id(key, symbols)
    if symbol == "IDC_STATIC":
        return key
    words = symbol.removeprefix("IDC_").removeprefix("ID").lower().split("_")
    return words[0] + "".join(word.capitalize() for word in words[1:])


def control(symbols, key, cls, text, rect, extra):
    x, y, w, h = rect
    left, top = px_x(x), px_y(y)
    width, height = px_x(x + w) - left, px_y(y + h) - top
    out = f'  <widget class="{cls}" name="{object_name(key, symbols)}">\n'
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
    if extra.get("wrap"):
        out += prop("wordWrap", "<bool>true</bool>")
    if extra.get("editable"):
        out += prop("editable", "<bool>true</bool>")
    if cls == "QPlainTextEdit":
        out += prop("readOnly", "<bool>true</bool>")
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
    symbols = RC_DIALOGS[name][4]
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
        out += control(symbols, *c)
    out += " </widget>\n"
    out += " <tabstops>\n" + "".join(f"  <tabstop>{object_name(t, symbols)}</tabstop>\n" for t in tabs)
    out += " </tabstops>\n"
    out += ' <resources>\n  <include location="vrellix.qrc"/>\n </resources>\n'
    out += " <connections/>\n</ui>\n"
    return out


# The Win32 side of each template above: resource id and symbol, window
# styles, and a symbol for each control that has an id.
DIALOG_STYLE = "DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU"
# The main window grows from its template size, as the Qt one does (RESIZABLE).
RESIZABLE_STYLE = "DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX"
RC_DIALOGS = {
    "titler_dlg": ("IDD_TITLER_DIALOG", 102, RESIZABLE_STYLE, "WS_EX_APPWINDOW", {
        "ctl1003": "IDC_TITLE", "ctl1004": "IDC_YOMI", "ctl1007": "IDC_ARTIST", "ctl1006": "IDC_TRACKS",
        "ctl1000": "IDC_LOAD_CSV", "ctl1001": "IDC_SAVE_CSV", "ctl1002": "IDC_START",
        "ctl1030": "IDC_TITLE_COUNT", "ctl1031": "IDC_YOMI_COUNT", "ctl1032": "IDC_ARTIST_COUNT",
        "ctl1035": "IDC_LINK",
    }),
    "about_dlg": ("IDD_ABOUTBOX", 100, DIALOG_STYLE, None, {}),
    "track_edit_dlg": ("IDD_TRACK_EDIT", 129, DIALOG_STYLE, None, {
        "ctl1007": "IDC_TRACK_NAME", "ctl1003": "IDC_TRACK_NUMBER", "ctl1008": "IDC_TRACK_YOMI",
        "ctl1033": "IDC_TRACK_NAME_COUNT", "ctl1034": "IDC_TRACK_YOMI_COUNT",
    }),
    "port_settings_dlg": ("IDD_PORT_SETTINGS", 132, DIALOG_STYLE, None, {
        "ctl1020": "IDC_PORT", "ctl1021": "IDC_COMMAND_DELAY", "ctl1022": "IDC_PORT_NOTE",
    }),
    "reading_choice_dlg": ("IDD_READING_CHOICE", 133, DIALOG_STYLE, None, {
        "ctl1040": "IDC_READING_ROWS", "ctl1041": "IDC_READING", "ctl1042": "IDC_READING_SKIPPED",
    }),
    "entry_progress_dlg": ("IDD_ENTRY_PROGRESS", 131, DIALOG_STYLE, None, {
        "ctl1010": "IDC_PROGRESS", "ctl1011": "IDC_STATUS", "ctl1000": "IDC_ABORT",
        "ctl1012": "IDC_ITEM", "ctl1013": "IDC_TIMES",
    }),
}

# Dialogs only the Win32 program draws from a template (Qt lays them out in
# code): what the built-in simulator holds after a job. The verdict scrolls: it
# names every field left as it was, up to 53.
# symbol, id, size, caption, controls: (symbol, id, kind, text, rect, style)
RC_ONLY_DIALOGS = [
    ("IDD_SIMULATOR_DUMP", 200, (280, 236), "Vrellix", [
        # As high as five lines; the program fits it to the verdict's.
        ("IDC_VERDICT", 1100, "EDITTEXT", None, (7, 7, 266, 40),
         "ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP"),
        ("IDC_DUMP_LABEL", 1101, "LTEXT", "", (7, 50, 266, 8), "SS_NOPREFIX"),
        ("IDC_DUMP", 1102, "EDITTEXT", None, (7, 60, 266, 150),
         "ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP"),
        ("IDOK", 1, "DEFPUSHBUTTON", "OK", (223, 215, 50, 14), "WS_TABSTOP"),
    ]),
]

ICON_ID = ("IDR_MAINFRAME", 128)
ICON_SIZES = (16, 32, 48, 256)
FONT = '9, "ＭＳ Ｐゴシック"'


def rc_text(text):
    return '"' + text.replace('"', '""') + '"'


def control_id(name, symbols):
    if name == "ctl1":
        return "IDOK"
    if name == "ctl2":
        return "IDCANCEL"
    if name in symbols:
        return symbols[name]
    # A control the program addresses has its number in its name.
    return str(int(name[3:])) if name.startswith("ctl") else "IDC_STATIC"


def rc_control(name, cls, text, rect, extra, symbols, tabs):
    ident = control_id(name, symbols)
    where = ", ".join(str(v) for v in rect)
    tab = " | WS_TABSTOP" if name in tabs else ""
    if cls == "QLineEdit":
        style = "ES_AUTOHSCROLL" + (" | WS_DISABLED" if extra.get("disabled") else "") + tab
        return f"    EDITTEXT        {ident}, {where}, {style}\n"
    if cls == "QTableWidget":
        return (f'    CONTROL         "", {ident}, "SysListView32", LVS_REPORT | LVS_SINGLESEL | WS_BORDER{tab}, '
                f"{where}\n")
    if cls == "QListWidget":
        # One column of rows with check boxes (set by the program), no header.
        return (f'    CONTROL         "", {ident}, "SysListView32", LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | '
                f"LVS_SHOWSELALWAYS | WS_BORDER{tab}, {where}\n")
    if cls == "QPlainTextEdit":
        return f"    EDITTEXT        {ident}, {where}, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL{tab}\n"
    if cls == "QComboBox":
        # The height of a combo box in a template is that of its open list.
        kind = "CBS_DROPDOWN" if extra.get("editable") else "CBS_DROPDOWNLIST"
        x, y, w, _ = rect
        return f"    COMBOBOX        {ident}, {x}, {y}, {w}, 80, {kind} | CBS_AUTOHSCROLL | WS_VSCROLL{tab}\n"
    if cls == "QSpinBox":
        # An up-down control attached to the edit before it, inside its right
        # end; the program sets its range.
        return (f"    EDITTEXT        {ident}, {where}, ES_NUMBER{tab}\n"
                f'    CONTROL         "", {ident}_SPIN, "msctls_updown32", UDS_AUTOBUDDY | UDS_SETBUDDYINT | '
                f"UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0\n")
    if cls == "QProgressBar":
        return f'    CONTROL         {rc_text(text)}, {ident}, "msctls_progress32", WS_BORDER, {where}\n'
    if cls == "QPushButton":
        kind = "DEFPUSHBUTTON" if extra.get("default") else "PUSHBUTTON"
        # A caption wider than its button goes on to a second line.
        wrap = " | BS_MULTILINE" if extra.get("multiline") else ""
        return f"    {kind:<15} {rc_text(text)}, {ident}, {where}{tab.replace(' | ', ', ', 1)}{wrap}\n"
    if extra.get("icon"):
        return f"    ICON            {ICON_ID[0]}, {ident}, {rect[0]}, {rect[1]}, {rect[2]}, {rect[3]}\n"
    group = ", WS_GROUP" if ident != "IDC_STATIC" else ""
    kind = "RTEXT" if extra.get("right") else "LTEXT"
    return f"    {kind:<15} {rc_text(text)}, {ident}, {where}{group}\n"


def rc_dialog(symbol, size, caption, style, exstyle, body):
    out = f"{symbol} DIALOGEX 0, 0, {size[0]}, {size[1]}\n"
    out += f"STYLE {style}\n"
    if exstyle:
        out += f"EXSTYLE {exstyle}\n"
    out += f"CAPTION {rc_text(caption)}\nFONT {FONT}\nBEGIN\n{body}END\n\n"
    return out


def resource_header():
    defines = [ICON_ID]
    for name, *_ in DIALOGS:
        symbol, ident, _, _, controls = RC_DIALOGS[name]
        defines.append((symbol, ident))
        defines += [(s, int(n[3:])) for n, s in controls.items()]
        kinds = {c[0]: c[1] for c in DIALOGS[[d[0] for d in DIALOGS].index(name)][4]}
        defines += [(s + "_SPIN", int(n[3:]) + 100) for n, s in controls.items() if kinds.get(n) == "QSpinBox"]
    for symbol, ident, _, _, controls in RC_ONLY_DIALOGS:
        defines.append((symbol, ident))
        defines += [(s, i) for s, i, *_ in controls if not s.startswith("IDOK")]
    out = "// Generated by scripts/make-dialogs.py: the resource ids of res/vrellix.rc.\n#pragma once\n\n"
    out += "#ifndef IDC_STATIC\n#define IDC_STATIC (-1)\n#endif\n\n"
    seen = set()
    for symbol, ident in defines:
        if symbol not in seen:
            seen.add(symbol)
            out += f"#define {symbol:<24} {ident}\n"
    return out


def script_opening(what, includes):
    # What both programs' scripts begin with: the headers, the language and the icon.
    out = f"// Generated by scripts/make-dialogs.py{what}.\n"
    out += "#pragma code_page(65001)\n"
    out += "".join(f"#include {header}\n" for header in includes) + "\n"
    out += "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n\n"
    return out + f'{ICON_ID[0]} ICON "icons/vrellix.ico"\n'


def resource_script():
    out = script_opening(" from the dialog-unit templates",
                         ["<windows.h>", "<commctrl.h>", '"resource.h"', '"vrellix_version.h"'])
    out += 'CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST "vrellix.manifest"\n\n'
    for name, cls, size, caption, controls, tabs in DIALOGS:
        symbol, _, style, exstyle, symbols = RC_DIALOGS[name]
        body = "".join(rc_control(*c, symbols, tabs) for c in controls)
        out += rc_dialog(symbol, size, caption, style, exstyle, body)
    for symbol, _, size, caption, controls in RC_ONLY_DIALOGS:
        body = ""
        for csym, _, kind, text, rect, style in controls:
            where = ", ".join(str(v) for v in rect)
            label = "" if text is None else rc_text(text) + ", "
            body += f"    {kind:<15} {label}{csym}, {where}, {style}\n"
        out += rc_dialog(symbol, size, caption, DIALOG_STYLE, None, body)
    return out + version_info("Vrellix", "vrellix")


def version_info(description, program):
    return f"""VS_VERSION_INFO VERSIONINFO
FILEVERSION     VRELLIX_VERSION_MAJOR, VRELLIX_VERSION_MINOR, VRELLIX_VERSION_PATCH, 0
PRODUCTVERSION  VRELLIX_VERSION_MAJOR, VRELLIX_VERSION_MINOR, VRELLIX_VERSION_PATCH, 0
FILEOS          VOS_NT_WINDOWS32
FILETYPE        VFT_APP
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "041104B0"
        BEGIN
            VALUE "FileDescription", "{description}"
            VALUE "FileVersion", VRELLIX_VERSION_TEXT
            VALUE "InternalName", "{program}"
            VALUE "OriginalFilename", "{program}.exe"
            VALUE "ProductName", "Vrellix"
            VALUE "ProductVersion", VRELLIX_VERSION_TEXT
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x0411, 1200
    END
END
"""


def cli_resource_script():
    # The command-line program has no dialogs: the same icon and version only.
    out = script_opening(": vrellix-cli.exe's icon and version", ["<windows.h>", '"resource.h"', '"vrellix_version.h"'])
    return out + "\n" + version_info("Vrellix command line", "vrellix-cli")


def icon_file():
    # Every image stays PNG, as Windows Vista and later and wine read them.
    images = [(RES / "icons" / f"vrellix-{size}.png").read_bytes() for size in ICON_SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(ICON_SIZES, images):
        side = size % 256  # 0 means 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main(check):
    outputs = {f"{name}.ui": dialog(name, cls, size, caption, controls, tabs).encode("utf-8")
               for name, cls, size, caption, controls, tabs in DIALOGS}
    outputs["vrellix.rc"] = resource_script().encode("utf-8")
    outputs["vrellix-cli.rc"] = cli_resource_script().encode("utf-8")
    outputs["resource.h"] = resource_header().encode("utf-8")
    outputs["icons/vrellix.ico"] = icon_file()
    stale = []
    for name, text in outputs.items():
        path = RES / name
        if not check:
            path.write_bytes(text)
        elif not path.exists() or path.read_bytes() != text:
            stale.append(name)
    for name in stale:
        print(f"res/{name} differs from what scripts/make-dialogs.py writes: edit the script and run it")
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main("--check" in sys.argv[1:]))
