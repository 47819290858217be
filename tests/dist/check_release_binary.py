#!/usr/bin/env python3
"""Checks a binary made by vorl_release_binary() (cmake/VorlRelease.cmake).

  check_release_binary.py OBJDUMP FILE DESCRIPTION VERSION

- no debug sections (objdump -h), and no COFF symbol table;
- a .gnu_debuglink whose file is in the binary's .debug folder and whose
  CRC is that file's;
- a version resource: fixed version VERSION (1.0.0 -> 1,0,0,0) for file and
  product, file type application or DLL by the file's extension, strings
  ProductName "Vorl", FileDescription DESCRIPTION, FileVersion and
  ProductVersion VERSION, OriginalFilename the file's name, InternalName the
  name without extension, and a Translation that names the string table's
  language and code page;
- for a program, a manifest, resource 1 of type RT_MANIFEST, in UTF-8: the
  program's identity at VERSION (1.0.0 -> 1.0.0.0), execution level
  asInvoker, supportedOS Vista, 7, 8, 8.1 and 10/11, Common Controls 6.0.0.0,
  and system DPI awareness (dpiAware true, no per-monitor setting); a DLL
  carries no manifest.
Prints what it found; exits 1 with the reasons when something is wrong.
"""
import os
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zlib

objdump, path, description, version = sys.argv[1:5]
data = open(path, "rb").read()
name = os.path.basename(path)
problems = []

# Sections and symbols.
out = subprocess.run([objdump, "-h", path], check=True, capture_output=True, text=True).stdout
sections = [line.split()[1] for line in out.splitlines()
            if len(line.split()) > 2 and line.split()[0].isdigit()]
print(f"{name}: {len(data)} bytes, sections {' '.join(sections)}")
debug = [s for s in sections if s.startswith((".debug", ".zdebug"))]
if debug:
    problems.append("debug sections " + " ".join(debug))
pe = struct.unpack_from("<I", data, 0x3C)[0]
symbols = struct.unpack_from("<I", data, pe + 16)[0]
if symbols:
    problems.append(f"a COFF symbol table of {symbols} symbols")

# The debug link: a file name, padding to 4 bytes, the file's CRC-32.
if ".gnu_debuglink" not in sections:
    problems.append("no .gnu_debuglink")
else:
    out = subprocess.run([objdump, "-s", "-j", ".gnu_debuglink", path],
                         check=True, capture_output=True, text=True).stdout
    raw = b""
    for line in out.splitlines()[4:]:
        fields = line[1:].split("  ")[0].split()[1:]
        raw += bytes.fromhex("".join(fields))
    link = raw.split(b"\0", 1)[0].decode()
    crc = struct.unpack_from("<I", raw, (len(link) + 4) // 4 * 4)[0]
    debug_file = os.path.join(os.path.dirname(path), ".debug", link)
    if not os.path.isfile(debug_file):
        problems.append(f"its debug link names {link}, which is not in .debug/")
    else:
        actual = zlib.crc32(open(debug_file, "rb").read())
        print(f"{name}: debug link {link}, CRC {crc:08x}, the file's {actual:08x}")
        if actual != crc:
            problems.append(f"the CRC of .debug/{link} is not the debug link's")


# The version resource: nested blocks of wLength, wValueLength, wType, a
# UTF-16 key, then the value and the children, each aligned to 4 bytes.
def block(offset):
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end_key = offset + 6
    while data[end_key:end_key + 2] != b"\0\0":
        end_key += 2
    key = data[offset + 6:end_key].decode("utf-16-le")
    value_start = (end_key + 2 + 3) // 4 * 4
    value_size = value_length * 2 if value_type == 1 else value_length
    value = data[value_start:value_start + value_size]
    children, child = [], (value_start + value_size + 3) // 4 * 4
    while child < offset + length:
        children.append(block(child))
        child = (child + children[-1][3] + 3) // 4 * 4
    return key, value, children, length


anchor = data.find("VS_VERSION_INFO\0".encode("utf-16-le"))
if anchor < 6:
    problems.append("no version resource")
else:
    key, fixed, children, _ = block(anchor - 6)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    file_type = struct.unpack_from("<I", fixed, 36)[0]
    parts = [int(p) for p in version.split(".")] + [0] * 4
    want = ((parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3])
    if signature != 0xFEEF04BD:
        problems.append("no VS_FIXEDFILEINFO")
    if (file_ms, file_ls) != want or (product_ms, product_ls) != want:
        problems.append(f"fixed version {file_ms >> 16},{file_ms & 0xFFFF},{file_ls >> 16},"
                        f"{file_ls & 0xFFFF}, not {','.join(map(str, parts[:4]))}")
    want_type = 1 if name.lower().endswith(".exe") else 2  # VFT_APP, VFT_DLL
    if file_type != want_type:
        problems.append(f"file type {file_type}, not {want_type}")
    tables, translations = {}, []
    for child_key, _, grandchildren, _ in children:
        if child_key == "StringFileInfo":
            for table_key, _, strings, _ in grandchildren:
                tables[table_key.upper()] = {
                    k: v.decode("utf-16-le").rstrip("\0") for k, v, _, _ in strings}
        elif child_key == "VarFileInfo":
            for var_key, value, _, _ in grandchildren:
                if var_key == "Translation":
                    for i in range(0, len(value) - 3, 4):
                        translations.append("%04X%04X" % struct.unpack_from("<HH", value, i))
    print(f"{name}: string tables {sorted(tables)}, Translation {translations}")
    if len(tables) != 1 or list(tables) != translations:
        problems.append("the Translation does not name the one string table")
    strings = next(iter(tables.values()), {})
    for k, v in sorted(strings.items()):
        print(f"{name}:   {k} = {v}")
    expected = {"ProductName": "Vorl", "FileDescription": description, "FileVersion": version,
                "ProductVersion": version, "OriginalFilename": name,
                "InternalName": os.path.splitext(name)[0]}
    for k, v in expected.items():
        if strings.get(k) != v:
            problems.append(f"{k} is {strings.get(k)!r}, not {v!r}")



def manifest_resources():
    """{name: data} of the RT_MANIFEST (24) resources: the resource directory
    of the .rsrc section, type, name and language levels, by id only."""
    optional = pe + 24
    wide = struct.unpack_from("<H", data, optional)[0] != 0x10B
    rva = struct.unpack_from("<I", data, optional + (112 if wide else 96) + 16)[0]
    count, optional_size = struct.unpack_from("<HxxxxxxxxxxxxH", data, pe + 6)
    table = optional + optional_size
    address, raw = next(((a, r) for _, v, a, _, r in (struct.unpack_from("<8sIIII", data, table + 40 * i)
                                                      for i in range(count)) if rva and a <= rva < a + v), (0, 0))
    if not raw:
        return {}
    at = lambda r: r - address + raw  # noqa: E731

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", data, at(rva) + offset + 12)
        return [struct.unpack_from("<II", data, at(rva) + offset + 16 + 8 * k) for k in range(named + numbered)]

    found = {}
    for kind, names in entries(0):
        for res_name, languages in (entries(names & 0x7FFFFFFF) if kind == 24 else []):
            for _, leaf in entries(languages & 0x7FFFFFFF):
                leaf_rva, size = struct.unpack_from("<II", data, at(rva) + leaf)
                found[res_name] = data[at(leaf_rva):at(leaf_rva) + size]
    return found


manifests = manifest_resources()
if not name.lower().endswith(".exe"):
    if manifests:
        problems.append(f"manifest resources in a DLL: {sorted(manifests)}")
elif list(manifests) != [1]:
    problems.append(f"manifest resources {sorted(manifests)}, not the one of id 1")
else:
    root = ElementTree.fromstring(manifests[1].decode("utf-8"))
    local = lambda e: e.tag.rsplit("}", 1)[-1]  # noqa: E731
    found = {}
    for e in root.iter():
        found.setdefault(local(e), []).append(e)
    own = next((e.attrib for e in root if local(e) == "assemblyIdentity"), {})
    levels = [e.get("level") for e in found.get("requestedExecutionLevel", [])]
    systems = {e.get("Id", "").lower() for e in found.get("supportedOS", [])}
    controls = [i.attrib for d in found.get("dependentAssembly", []) for i in d
                if i.get("name") == "Microsoft.Windows.Common-Controls"]
    dpi = [(e.text or "").strip() for e in found.get("dpiAware", [])] + found.get("dpiAwareness", [])
    print(f"{name}: manifest {own.get('name')} {own.get('version')}, level {levels}, "
          f"{len(systems)} supportedOS, Common Controls {[c.get('version') for c in controls]}, dpiAware {dpi}")
    want = ".".join(version.split(".") + ["0"] * (4 - len(version.split("."))))
    if own.get("version") != want:
        problems.append(f"the manifest's own version is {own.get('version')}, not {want}")
    if levels != ["asInvoker"]:
        problems.append(f"execution levels {levels}, not asInvoker")
    for system, guid in (("Vista", "e2011457-1546-43c5-a5fe-008deee3d3f0"),
                         ("7", "35138b9a-5d96-4fbd-8e2d-a2440225f93a"),
                         ("8", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38"),
                         ("8.1", "1f676c76-80e1-4239-95bb-83d0f6d0da78"),
                         ("10 and 11", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a")):
        if "{%s}" % guid not in systems:
            problems.append(f"no supportedOS for Windows {system}")
    if not any(c.get("version") == "6.0.0.0" and c.get("publicKeyToken") == "6595b64144ccf1df"
               for c in controls):
        problems.append("no dependency on Common Controls 6.0.0.0")
    if dpi != ["true"]:  # system aware; nothing per monitor
        problems.append(f"DPI awareness {dpi}, not system aware")

for p in problems:
    print(f"{name}: FAIL: {p}")
sys.exit(1 if problems else 0)
