#!/usr/bin/python3
"""Checks of the shipped 32-bit setup.exe as a file: its PE header, what it
imports, and the package it carries (every resource, byte for byte where the
content is fixed, and the two page templates field by field).

Usage: test_shipped_setup.py --exe SETUP.EXE --ini ztl_arm.ini [unittest arguments]
"""
import argparse
import re
import struct
import sys
import unittest

import pefile

EXE_PATH = None
INI_PATH = None
PE = None
RESOURCES = {}  # (type, id, language) -> (bytes, code page)


def setUpModule():
    global PE
    PE = pefile.PE(EXE_PATH)
    for type_entry in PE.DIRECTORY_ENTRY_RESOURCE.entries:
        for id_entry in type_entry.directory.entries:
            for lang_entry in id_entry.directory.entries:
                key = (type_entry.id if type_entry.name is None else str(type_entry.name),
                       id_entry.id if id_entry.name is None else str(id_entry.name),
                       lang_entry.id)
                data = lang_entry.data.struct
                RESOURCES[key] = (PE.get_data(data.OffsetToData, data.Size), data.CodePage)


def resource(type_id, res_id, language=None):
    """The data of one resource; the language is the one the package gives it."""
    if language is None:
        language = 0 if type_id >= 100 else 1033
    key = (type_id, res_id, language)
    if key not in RESOURCES:
        raise AssertionError(f"no resource {key}")
    return RESOURCES[key][0]


# Win32 values the checks are written in.
RT_BITMAP, RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 3, 5, 6, 14, 16, 24
RT_PAYLOAD, RT_PAYLOADNAME, RT_PAGETEXT, RT_SETUPSTRING = 100, 101, 102, 103
LANG_NEUTRAL, LANG_EN_US = 0, 1033

WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_SYSMENU, WS_VSCROLL, WS_HSCROLL = 0x00C00000, 0x00080000, 0x00200000, 0x00100000
WS_GROUP, WS_TABSTOP = 0x00020000, 0x00010000
DS_MODALFRAME, DS_SETFONT, DS_CENTER = 0x80, 0x40, 0x800
WS_EX_STATICEDGE = 0x00020000
ES_MULTILINE, ES_AUTOHSCROLL, ES_READONLY, ES_WANTRETURN = 0x4, 0x80, 0x800, 0x1000
BS_PUSHBUTTON, BS_DEFPUSHBUTTON = 0x0, 0x1
SS_LEFT, SS_BITMAP, SS_SUNKEN = 0x0, 0xE, 0x1000
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82
IDOK, IDCANCEL, IDC_PAGETEXT, IDC_STATIC = 1, 2, 6, -1
DEFAULT_CHARSET = 1

PAGE_COLOR = (0, 127, 190)


class PeHeader(unittest.TestCase):
    def test_is_a_32_bit_i386_image(self):
        self.assertEqual(PE.OPTIONAL_HEADER.Magic, 0x10B, "not PE32")
        self.assertEqual(PE.FILE_HEADER.Machine, 0x14C, "not i386")

    def test_is_a_gui_program_for_windows_4_0(self):
        header = PE.OPTIONAL_HEADER
        self.assertEqual(header.Subsystem, 2, "not the Windows GUI subsystem")
        self.assertEqual((header.MajorSubsystemVersion, header.MinorSubsystemVersion), (4, 0))
        self.assertEqual((header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion), (4, 0))

    def test_sections_lie_in_order_within_the_file_at_the_file_alignment(self):
        header = PE.OPTIONAL_HEADER
        end = header.SizeOfHeaders
        for section in sorted(PE.sections, key=lambda s: s.PointerToRawData):
            if not section.SizeOfRawData:
                continue
            name = section.Name.rstrip(b"\0").decode()
            self.assertEqual(section.PointerToRawData % header.FileAlignment, 0, name)
            self.assertGreaterEqual(section.PointerToRawData, end, f"{name} overlaps what comes before it")
            end = section.PointerToRawData + section.SizeOfRawData
        self.assertLessEqual(end, len(PE.__data__), "a section runs past the end of the file")

    def test_resources_start_on_a_page_so_the_loader_can_map_them(self):
        rva = PE.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]].VirtualAddress
        resources = next(s for s in PE.sections if s.VirtualAddress == rva)
        self.assertEqual(resources.PointerToRawData % 4096, 0, hex(resources.PointerToRawData))

    def test_checksum_matches_the_file(self):
        self.assertEqual(PE.OPTIONAL_HEADER.CheckSum, PE.generate_checksum())


# What the program may call: the ANSI interfaces it is written against, plus
# what its own entry point and the launch of the Application Manager need.
ALLOWED_IMPORTS = {
    "KERNEL32.DLL": {
        "FindResourceA", "LoadResource", "LockResource", "SizeofResource",
        "CreateDirectoryA", "CreateFileA", "WriteFile", "CloseHandle", "GetLastError",
        "lstrcpyA", "lstrcatA", "lstrlenA", "WinExec",
        "GetModuleHandleA", "GetProcAddress", "ExitProcess", "GetCommandLineA", "CreateProcessA",
    },
    "USER32.DLL": {
        "DialogBoxParamA", "EndDialog", "SetDlgItemTextA", "SendDlgItemMessageA",
        "LoadStringA", "MessageBoxA",
    },
    "GDI32.DLL": {"SetTextColor", "SetBkColor", "CreateSolidBrush", "DeleteObject"},
    "ADVAPI32.DLL": {"RegOpenKeyExA", "RegQueryValueExA", "RegCloseKey"},
}


class Imports(unittest.TestCase):
    def imports(self):
        found = {}
        for dll in PE.DIRECTORY_ENTRY_IMPORT:
            names = found.setdefault(dll.dll.decode().upper(), [])
            for function in dll.imports:
                names.append(function.name.decode() if function.name else f"ordinal {function.ordinal}")
        return found

    def test_imports_from_the_four_system_dlls_only(self):
        self.assertEqual(set(self.imports()), set(ALLOWED_IMPORTS))
        self.assertFalse(hasattr(PE, "DIRECTORY_ENTRY_DELAY_IMPORT"), "delay-loaded imports")

    def test_every_function_is_an_allowed_entry_point(self):
        for dll, names in self.imports().items():
            with self.subTest(dll=dll):
                self.assertEqual(set(names) - ALLOWED_IMPORTS.get(dll, set()), set())

    def test_no_wide_character_entry_point(self):
        wide = [n for names in self.imports().values() for n in names if n.endswith("W")]
        self.assertEqual(wide, [])


# The package format: every resource the executable carries, and nothing else.
EXPECTED_RESOURCES = {
    (RT_PAYLOAD, 1, LANG_NEUTRAL), (RT_PAYLOAD, 2, LANG_NEUTRAL),
    (RT_PAYLOADNAME, 1, LANG_NEUTRAL), (RT_PAYLOADNAME, 2, LANG_NEUTRAL),
    (RT_PAGETEXT, 4, LANG_NEUTRAL), (RT_PAGETEXT, 5, LANG_NEUTRAL),
    (RT_SETUPSTRING, 2, LANG_NEUTRAL),
    (RT_STRING, 1, LANG_EN_US),  # the block of ids 0 to 15
    (RT_DIALOG, 1, LANG_EN_US), (RT_DIALOG, 2, LANG_EN_US),
    (RT_BITMAP, 149, LANG_EN_US), (RT_BITMAP, 150, LANG_EN_US), (RT_BITMAP, 151, LANG_EN_US),
    (RT_GROUP_ICON, 143, LANG_EN_US), (RT_ICON, 1, LANG_EN_US), (RT_ICON, 2, LANG_EN_US),
    (RT_VERSION, 1, LANG_EN_US),
}


class ResourceInventory(unittest.TestCase):
    def test_exactly_the_package_layout(self):
        found = set(RESOURCES)
        self.assertEqual(found - EXPECTED_RESOURCES, set(), "resources the package does not have")
        self.assertEqual(EXPECTED_RESOURCES - found, set(), "resources missing")

    def test_every_entry_declares_code_page_1252(self):
        for key, (_, codepage) in sorted(RESOURCES.items(), key=str):
            with self.subTest(resource=key):
                self.assertEqual(codepage, 1252)

    def test_no_manifest(self):
        self.assertEqual([k for k in RESOURCES if k[0] == RT_MANIFEST], [])


SETUP_DESCRIPTION_LINES = [
    "[CEAppManager]",
    "Version      = 1.0",
    "Component    = ZTL",
    "",
    "[ZTL]",
    "Description  = Zentrobel",
    "CabFiles     = ztl.arm.CAB",
    "IconFile = ztl.ico",
    "IconIndex = 0",
    "DeviceFile = ztl.exe",
    "",
    "",
    "",
]
CABINET_SIZE = 9_025_285


class Payloads(unittest.TestCase):
    def test_setup_description_is_the_ini_file(self):
        with open(INI_PATH, "rb") as f:
            self.assertEqual(resource(RT_PAYLOAD, 1), f.read())

    def test_setup_description_holds_its_13_lines(self):
        expected = "".join(line + "\r\n" for line in SETUP_DESCRIPTION_LINES).encode("ascii")
        self.assertEqual(resource(RT_PAYLOAD, 1), expected)

    def test_cabinet_is_an_uncompressed_cabinet_of_its_stated_size(self):
        cab = resource(RT_PAYLOAD, 2)
        self.assertEqual(len(cab), CABINET_SIZE)
        (signature, cb_cabinet, coff_files, minor, major, folders, files, flags) = struct.unpack_from(
            "<4s4xI4xI4xBBHHH", cab, 0)
        self.assertEqual(signature, b"MSCF")
        self.assertEqual(cb_cabinet, len(cab), "header size field")
        self.assertEqual((major, minor), (1, 3))
        self.assertGreaterEqual(folders, 1)
        self.assertGreaterEqual(files, 1)
        offset = 36
        folder_reserve = data_reserve = 0
        if flags & 0x4:  # cfhdrRESERVE_PRESENT
            header_reserve, folder_reserve, data_reserve = struct.unpack_from("<HBB", cab, offset)
            offset += 4 + header_reserve
        for present in (flags & 0x1, flags & 0x2):  # previous and next cabinet names, disks
            for _ in range(2 if present else 0):
                offset = cab.index(b"\0", offset) + 1
        for folder in range(folders):
            start, blocks, compression = struct.unpack_from("<IHH", cab, offset)
            offset += 8 + folder_reserve
            with self.subTest(folder=folder):
                self.assertEqual(compression, 0, "CFFOLDER typeCompress")
                for block in range(blocks):
                    packed, unpacked = struct.unpack_from("<HH", cab, start + 4)
                    self.assertEqual(packed, unpacked, f"data block {block} is compressed")
                    start += 8 + data_reserve + packed
                    self.assertLessEqual(start, len(cab))


def page_text_lines_ok(text):
    return re.search(rb"\r(?!\n)|(?<!\r)\n", text) is None


class Texts(unittest.TestCase):
    def test_payload_names(self):
        for res_id, name in ((1, b"ztl_arm.ini\0"), (2, b"ztl.arm.CAB\0")):
            with self.subTest(name=res_id):
                self.assertEqual(resource(RT_PAYLOADNAME, res_id), name)

    def test_install_folder_name(self):
        self.assertEqual(resource(RT_SETUPSTRING, 2), b"ZTL\0")

    def test_page_texts(self):
        for res_id, size in ((4, 3193), (5, 9643)):
            text = resource(RT_PAGETEXT, res_id)
            with self.subTest(page_text=res_id):
                self.assertEqual(len(text), size)
                self.assertTrue(text.endswith(b"\0"))
                self.assertEqual(text.count(b"\0"), 1, "one NUL, at the end")
                body = text[:-1]
                self.assertTrue(page_text_lines_ok(body), "a line not ended by CR LF")
                self.assertEqual([b for b in body if b > 0x7E or (b < 0x20 and b not in b"\t\r\n")], [],
                                 "not plain ASCII text")
        self.assertIn(b"\t", resource(RT_PAGETEXT, 4), "the readme holds tabs")

    def test_string_table(self):
        expected = {
            1: "Windows CE Services not found on this computer. Setup cannot continue and will now exit.",
            2: "Setup",
            3: "Could not create install directory. Setup cannot continue and will exit.",
            4: "An error occured writing your Windows CE application to disk. Setup cannot continue and will exit.",
            5: "The setup files are missing information. Setup cannot continue and will exit.",
        }
        block = resource(RT_STRING, 1)
        offset = 0
        for string_id in range(16):
            (length,) = struct.unpack_from("<H", block, offset)
            text = block[offset + 2:offset + 2 + 2 * length].decode("utf-16-le")
            offset += 2 + 2 * length
            with self.subTest(string=string_id):
                self.assertEqual(text, expected.get(string_id, ""))


def bitmap_info(data):
    (size, width, height, planes, bits, compression, _, _, _, colors_used, _) = struct.unpack_from(
        "<IiiHHIIiiII", data, 0)
    return size, width, height, planes, bits, compression, colors_used


class Pictures(unittest.TestCase):
    def test_bitmaps_are_uncompressed_24_bit_of_their_sizes(self):
        for res_id, size in ((149, (150, 200)), (150, (140, 75)), (151, (300, 100))):
            data = resource(RT_BITMAP, res_id)
            header, width, height, planes, bits, compression, _ = bitmap_info(data)
            with self.subTest(bitmap=res_id):
                self.assertEqual(header, 40, "a BITMAPINFOHEADER")
                self.assertEqual((width, abs(height)), size)
                self.assertEqual((planes, bits, compression), (1, 24, 0))
                stride = (width * 3 + 3) & ~3
                self.assertGreaterEqual(len(data), 40 + stride * abs(height))

    def test_logo_and_banner_borders_are_the_page_color(self):
        for res_id in (150, 151):
            data = resource(RT_BITMAP, res_id)
            _, width, height, _, _, _, colors_used = bitmap_info(data)
            height = abs(height)
            stride = (width * 3 + 3) & ~3
            pixels = 40 + 4 * colors_used

            def pixel(x, y):  # rows in storage order; a border is a border either way up
                b, g, r = data[pixels + y * stride + 3 * x:pixels + y * stride + 3 * x + 3]
                return r, g, b

            border = [(x, y) for x in range(width) for y in (0, height - 1)]
            border += [(x, y) for y in range(height) for x in (0, width - 1)]
            with self.subTest(bitmap=res_id):
                off = [(x, y, pixel(x, y)) for x, y in border if pixel(x, y) != PAGE_COLOR]
                self.assertEqual(off[:5], [], f"{len(off)} border pixels off the page colour")

    def test_icon_group_holds_a_16_colour_and_a_monochrome_32x32_image(self):
        group = resource(RT_GROUP_ICON, 143)
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        expected = {1: (16, 4), 2: (2, 1)}  # image id: colour count, bits per pixel
        seen = []
        for i in range(count):
            (width, height, colors, _, _, bit_count, bytes_in_res, image_id) = struct.unpack_from(
                "<BBBBHHIH", group, 6 + 14 * i)
            seen.append(image_id)
            with self.subTest(icon=image_id):
                self.assertIn(image_id, expected)
                want_colors, want_bits = expected[image_id]
                self.assertEqual((width, height), (32, 32))
                self.assertEqual(colors, want_colors)
                self.assertEqual(bit_count, want_bits)
                image = resource(RT_ICON, image_id)
                self.assertEqual(bytes_in_res, len(image))
                header, width, height, planes, bits, compression, _ = bitmap_info(image)
                self.assertEqual((header, width, height), (40, 32, 64), "32x32 with its mask")
                self.assertEqual((planes, bits, compression), (1, want_bits, 0))
        self.assertEqual(sorted(seen), [1, 2])


def align4(n):
    return (n + 3) & ~3


def utf16z(data, offset):
    """A NUL-terminated UTF-16 text and the offset after its NUL."""
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def version_node(data, offset):
    """One VS_VERSIONINFO node: (key, type, value bytes, children), and its end."""
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key, pos = utf16z(data, offset + 6)
    pos = align4(pos)
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[pos:pos + value_bytes]
    pos = align4(pos + value_bytes)
    children = []
    while pos < end:
        child, child_end = version_node(data, pos)
        children.append(child)
        pos = align4(child_end)
    return (key, kind, value, children), end


def version_text(value):
    text = value.decode("utf-16-le")
    return text[:-1] if text.endswith("\0") else text


class Version(unittest.TestCase):
    def setUp(self):
        self.root, _ = version_node(resource(RT_VERSION, 1), 0)

    def test_fixed_values(self):
        key, _, value, _ = self.root
        self.assertEqual(key, "VS_VERSION_INFO")
        self.assertEqual(len(value), 52)
        (signature, _, file_ms, file_ls, product_ms, product_ls, flags_mask, flags, os, file_type,
         subtype, date_ms, date_ls) = struct.unpack("<13I", value)
        self.assertEqual(signature, 0xFEEF04BD)
        self.assertEqual((file_ms, file_ls), (0x00010000, 0x00000001), "file version 1.0.0.1")
        self.assertEqual((product_ms, product_ls), (0x00010000, 0x00000001), "product version 1.0.0.1")
        self.assertEqual((flags_mask, flags), (0x3F, 0))
        self.assertEqual(os, 0x40004)
        self.assertEqual((file_type, subtype), (1, 0), "VFT_APP")
        self.assertEqual((date_ms, date_ls), (0, 0))

    def test_one_us_english_string_table_with_exactly_these_values(self):
        blocks = {child[0]: child for child in self.root[3]}
        self.assertEqual(sorted(blocks), ["StringFileInfo", "VarFileInfo"])
        tables = blocks["StringFileInfo"][3]
        self.assertEqual([t[0] for t in tables], ["040904b0"])
        found = [(entry[0], version_text(entry[2])) for entry in tables[0][3]]
        self.assertEqual(found, [
            ("CompanyName", ""),
            ("FileDescription", "Murvex"),
            ("FileVersion", "1, 0, 0, 1"),
            ("InternalName", "Murvex"),
            ("OriginalFilename", ""),
            ("ProductName", "Murvex"),
            ("ProductVersion", "1, 0, 0, 1"),
        ])

    def test_translation_is_us_english_unicode(self):
        blocks = {child[0]: child for child in self.root[3]}
        variables = blocks["VarFileInfo"][3]
        self.assertEqual([(v[0], v[2]) for v in variables], [("Translation", struct.pack("<HH", 0x0409, 1200))])


def name_or_ordinal(data, offset):
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0x0000:
        return "", offset + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    return utf16z(data, offset)


def parse_dialogex(data):
    """An extended dialog template as a dict of its frame and a list of its controls."""
    version, signature, help_id, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data, 0)
    frame = dict(version=version, signature=signature, help_id=help_id, exstyle=exstyle, style=style,
                 rect=(x, y, cx, cy))
    frame["menu"], pos = name_or_ordinal(data, 26)
    frame["window_class"], pos = name_or_ordinal(data, pos)
    frame["caption"], pos = utf16z(data, pos)
    if style & DS_SETFONT:
        points, weight, italic, charset = struct.unpack_from("<HHBB", data, pos)
        face, pos = utf16z(data, pos + 6)
        frame["font"] = (points, face, weight, italic, charset)
    controls = []
    for _ in range(count):
        pos = align4(pos)
        help_id, exstyle, style, x, y, cx, cy, control_id = struct.unpack_from("<IIIhhhhi", data, pos)
        cls, pos = name_or_ordinal(data, pos + 24)
        text, pos = name_or_ordinal(data, pos)
        (extra,) = struct.unpack_from("<H", data, pos)
        pos += 2 + extra
        controls.append(dict(help_id=help_id, exstyle=exstyle, style=style, rect=(x, y, cx, cy), id=control_id,
                             cls=cls, text=text, extra=extra))
    return frame, controls, data[pos:]


CHILD = WS_CHILD | WS_VISIBLE
PAGE_FRAME = dict(
    style=WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
    exstyle=0, help_id=0, rect=(0, 0, 426, 226), menu="", window_class="",
    font=(8, "MS Sans Serif", 0, 0, DEFAULT_CHARSET),
)
TEXT_BOX = CHILD | ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP
EXIT_BUTTON = (BUTTON, IDCANCEL, "&Exit", CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0, (310, 205, 50, 14))
NEXT_BUTTON = (BUTTON, IDOK, "&Next  >>", CHILD | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, (365, 205, 50, 14))
LABEL = CHILD | SS_LEFT | WS_GROUP
PICTURES = [
    (STATIC, IDC_STATIC, 149, CHILD | SS_BITMAP | SS_SUNKEN, 0, (5, 74, 101, 124)),
    (STATIC, IDC_STATIC, 150, CHILD | SS_BITMAP, 0, (5, 12, 93, 46)),
    (STATIC, IDC_STATIC, 151, CHILD | SS_BITMAP, 0, (165, 5, 200, 62)),
]

# template id: caption, controls in template order as (class, id, text or
# bitmap, style, extended style, (x, y, cx, cy)).
PAGE_TEMPLATES = {
    1: ("Zentrobel FULL VERSION - Welcome", [
        (EDIT, IDC_PAGETEXT, "", TEXT_BOX, WS_EX_STATICEDGE, (115, 93, 299, 105)),
        EXIT_BUTTON,
        NEXT_BUTTON,
        (STATIC, IDC_STATIC, "If you wish to exit Setup without installing this software, choose Exit. "
                             "If you wish to continue installing this software, choose Next.",
         LABEL, 0, (5, 205, 295, 17)),
        (STATIC, IDC_STATIC, "Thank you for choosing to install this software for your Windows CE device. "
                             "Before you begin, please look through the following README.",
         LABEL, 0, (115, 70, 309, 18)),
    ] + PICTURES),
    2: ("Zentrobel FULL VERSION - End User License Agreement", [
        (EDIT, IDC_PAGETEXT, "", TEXT_BOX | ES_WANTRETURN, WS_EX_STATICEDGE, (115, 93, 300, 105)),
        EXIT_BUTTON,
        NEXT_BUTTON,
        (STATIC, IDC_STATIC, "Please read the following license agreement. "
                             "Press the PAGE DOWN key to see the rest of the agreement.",
         LABEL, 0, (115, 70, 310, 18)),
        (STATIC, IDC_STATIC, "Do you accept all terms of the preceding End User License Agreement? "
                             "If you choose Exit, Setup will close. "
                             "To continue with setup you must accept this agreement by choosing Next.",
         LABEL, 0, (5, 205, 296, 18)),
    ] + PICTURES),
}


class PageTemplates(unittest.TestCase):
    def test_frames(self):
        for template_id, (caption, _) in PAGE_TEMPLATES.items():
            frame, _, rest = parse_dialogex(resource(RT_DIALOG, template_id))
            with self.subTest(template=template_id):
                self.assertEqual((frame["version"], frame["signature"]), (1, 0xFFFF), "an extended template")
                for field, want in PAGE_FRAME.items():
                    self.assertEqual(frame[field], want, field)
                self.assertEqual(frame["caption"], caption)
                self.assertEqual(rest.strip(b"\0"), b"", "data after the last control")

    def test_controls_in_template_order(self):
        for template_id, (_, expected) in PAGE_TEMPLATES.items():
            _, controls, _ = parse_dialogex(resource(RT_DIALOG, template_id))
            with self.subTest(template=template_id):
                self.assertEqual(len(controls), len(expected))
            for number, (control, want) in enumerate(zip(controls, expected), 1):
                cls, control_id, text, style, exstyle, rect = want
                with self.subTest(template=template_id, control=number):
                    found = dict(control, style=hex(control["style"]), exstyle=hex(control["exstyle"]))
                    self.assertEqual(found, dict(cls=cls, id=control_id, text=text, style=hex(style),
                                                 exstyle=hex(exstyle), help_id=0, rect=rect, extra=0))


def main():
    global EXE_PATH, INI_PATH
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--ini", required=True)
    args, rest = parser.parse_known_args()
    EXE_PATH, INI_PATH = args.exe, args.ini
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
