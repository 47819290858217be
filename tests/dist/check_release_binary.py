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
- the same bytes from any folder at any time: the PE time stamp of the file
  and of its debug file is SOURCE_DATE_EPOCH, or the last commit's time when
  that is not set; neither holds the path of the source or build folder
  (in UTF-8 or UTF-16), while the debug file does name the sources, relative;
- hardened: dynamic base with its relocations, NX compatible and, for 64-bit,
  high-entropy ASLR; every C++ compile unit built with -fstack-protector-strong
  and the guard and its failure routine linked in (the debug file's symbols);
  imports from system DLLs only, exactly IMPORTS[file name];
- for a program, a manifest, resource 1 of type RT_MANIFEST, in UTF-8, whose
  every element, attribute and namespace is the expected one: the program's
  identity at VERSION (1.0.0 -> 1.0.0.0), execution level asInvoker without
  UI access, supportedOS Vista, 7, 8, 8.1 and 10/11, Common Controls 6.0.0.0
  for every processor, and per-monitor (v2) DPI awareness with system
  awareness before it; a DLL carries no manifest;
- the zip's THIRD-PARTY-NOTICES.txt (the tree's dist/ copy) names each
  component of the toolchain that the linker map .debug/<file>.map shows,
  with its Debian packages' versions and each licence's notice
  (scripts/notices.py --check).
Prints what it found; exits 1 with the reasons when something is wrong.
"""
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zlib

objdump, path, description, version = sys.argv[1:5]
data = open(path, "rb").read()
name = os.path.basename(path)
problems = []
root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Each binary's imports. The runtime is linked statically, so only system
# DLLs; ADVAPI32 for the stack protector's guard, which libssp seeds from
# the system's random numbers (CryptGenRandom).
IMPORTS = {"Vorl.exe": ["ADVAPI32.dll", "GDI32.dll", "KERNEL32.dll", "msvcrt.dll", "USER32.dll", "WINMM.dll"],
           "d3drm.dll": ["ADVAPI32.dll", "KERNEL32.dll", "msvcrt.dll"]}

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

# The same bytes from any folder at any time.
epoch = os.environ.get("SOURCE_DATE_EPOCH") or subprocess.run(
    ["git", "-C", root, "log", "-1", "--format=%ct"], capture_output=True, text=True).stdout.strip()
debug_data = open(debug_file, "rb").read() if ".gnu_debuglink" in sections and os.path.isfile(debug_file) else b""
folders = {f(d) for f in (os.path.abspath, os.path.realpath) for d in (root, os.path.join(path, "..", ".."))}
for label, content in ((name, data), (f".debug/{name}.debug", debug_data)):
    if not content:
        continue
    stamp = struct.unpack_from("<I", content, struct.unpack_from("<I", content, 0x3C)[0] + 8)[0]
    print(f"{label}: time stamp {stamp}, the commit's {epoch}")
    if str(stamp) != epoch:
        problems.append(f"{label} has the time stamp {stamp}, not {epoch or 'the commit time'}")
    for folder in sorted(folders):
        if folder.encode() in content or folder.encode("utf-16-le") in content:
            problems.append(f"{label} holds the path {folder}")
if debug_data and not re.search(rb"\0\./(app|retained)/\w+\.cpp\0", debug_data):
    problems.append("its debug file names no source as ./app/... or ./retained/...")

# Hardening: the PE header's flags and relocations, the debug file's compile
# units and symbols, the import list.
characteristics, optional = struct.unpack_from("<H", data, pe + 22)[0], pe + 24
wide = struct.unpack_from("<H", data, optional)[0] == 0x20B
dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
relocations = struct.unpack_from("<II", data, optional + (112 if wide else 96) + 5 * 8)
flags = {0x20: "HIGH_ENTROPY_VA", 0x40: "DYNAMIC_BASE", 0x100: "NX_COMPAT"}
print(f"{name}: {'PE32+' if wide else 'PE32'}, DllCharacteristics {dll_characteristics:04x} "
      f"{' '.join(v for k, v in flags.items() if dll_characteristics & k)}, relocations {relocations[1]} bytes")
for bit, flag in flags.items():
    if not dll_characteristics & bit and (wide or bit != 0x20):
        problems.append(f"not {flag}")
if characteristics & 1 or not relocations[1]:
    problems.append("no relocations, so no dynamic base")
producers = re.findall(rb"GNU C\+\+[^\0]*", debug_data)
print(f"{name}: {len(producers)} C++ compile unit option sets, "
      f"{sum(b'-fstack-protector-strong' in p for p in producers)} with -fstack-protector-strong")
if not producers or not all(b" -fstack-protector-strong" in p for p in producers):
    problems.append("C++ compile units built without -fstack-protector-strong")
if debug_data:
    table = subprocess.run([objdump, "-t", debug_file], check=True, capture_output=True, text=True).stdout
    symbols = {line.split()[-1].lstrip("_") for line in table.splitlines() if "(scl" in line}
    for symbol in ("stack_chk_guard", "stack_chk_fail"):
        if symbol not in symbols:
            problems.append(f"no __{symbol} linked in")
listing = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
imports = re.findall(r"^\s*DLL Name: (\S+)", listing, re.M)
print(f"{name}: imports {' '.join(imports)}")
if sorted(i.lower() for i in imports) != sorted(i.lower() for i in IMPORTS.get(name, [])):
    problems.append(f"imports {' '.join(imports)}, not {' '.join(IMPORTS.get(name, ['(none listed)']))}")


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


# The manifest: the names of resource type 24 (RT_MANIFEST) in objdump's
# listing of the resource directory; its text found in the file, as the
# version resource's is.
manifests = [int(n, 16) for t in re.split(r"^\w+ {3}Entry: ", listing, flags=re.M) if t.startswith("ID: 0x000018,")
             for n in re.findall(r"^\w+ {5}Entry: ID: (0x\w+)", t, re.M)]
if not name.lower().endswith(".exe"):
    if manifests:
        problems.append(f"manifest resources {manifests} in a DLL")
elif manifests != [1]:
    problems.append(f"manifest resources {manifests}, not the one of id 1")
else:
    root = ElementTree.fromstring(data[data.find(b"<assembly "):data.find(b"</assembly>") + 11].decode())
    # Every element in document order with its depth, namespace, attributes
    # and text: Windows reads an attribute or a namespace that differs as
    # another manifest (uiAccess="true" refuses to start an unsigned program
    # outside Program Files, Common Controls for x86 only leave the 64-bit
    # program the old ones, a dpiAware in another namespace is not read).
    def elements(e, depth=0):
        yield depth, e.tag, dict(e.attrib), (e.text or "").strip()
        for child in e:
            yield from elements(child, depth + 1)
    v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
    compat, smi = "{urn:schemas-microsoft-com:compatibility.v1}", "{http://schemas.microsoft.com/SMI/%d/WindowsSettings}"
    windows = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  # Vista, 7
               "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",  # 8, 8.1
               "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]  # 10 and 11
    expected = [
        (0, v1 + "assembly", {"manifestVersion": "1.0"}, ""),
        (1, v1 + "assemblyIdentity", {"type": "win32", "name": "Vorl", "processorArchitecture": "*",
                                      "version": ".".join((version.split(".") + ["0"] * 4)[:4])}, ""),
        (1, v3 + "trustInfo", {}, ""), (2, v3 + "security", {}, ""), (3, v3 + "requestedPrivileges", {}, ""),
        (4, v3 + "requestedExecutionLevel", {"level": "asInvoker", "uiAccess": "false"}, ""),
        (1, compat + "compatibility", {}, ""), (2, compat + "application", {}, ""),
        *[(3, compat + "supportedOS", {"Id": "{%s}" % w}, "") for w in windows],
        (1, v1 + "dependency", {}, ""), (2, v1 + "dependentAssembly", {}, ""),
        (3, v1 + "assemblyIdentity", {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                                      "version": "6.0.0.0", "processorArchitecture": "*",
                                      "publicKeyToken": "6595b64144ccf1df", "language": "*"}, ""),
        # Per-monitor v2 from Windows 10 1703 on; system aware before it: 1607
        # takes the second of the list, older versions read dpiAware.
        (1, v3 + "application", {}, ""), (2, v3 + "windowsSettings", {}, ""),
        (3, smi % 2005 + "dpiAware", {}, "true"),
        (3, smi % 2016 + "dpiAwareness", {}, "PerMonitorV2, System")]
    got = list(elements(root))
    for element in got:
        print(f"{name}: manifest {element}")
    problems += [f"manifest element {i}: {g}, not {w}" for i, (g, w) in enumerate(zip(got, expected)) if g != w]
    if len(got) != len(expected):
        problems.append(f"manifest of {len(got)} elements, not {len(expected)}")

# The notices: what the linker put in, from its map.
notices = os.path.join(os.path.dirname(path), "..", "dist", "THIRD-PARTY-NOTICES.txt")
if subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "notices.py"), "--check", notices, objdump,
                   os.path.join(os.path.dirname(path), ".debug", name + ".map")]).returncode:
    problems.append("THIRD-PARTY-NOTICES.txt lacks what its linker map shows")

for p in problems:
    print(f"{name}: FAIL: {p}")
sys.exit(1 if problems else 0)
