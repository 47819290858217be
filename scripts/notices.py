#!/usr/bin/env python3
"""The code of others that the linker put into the release binaries, and the
notices its licences ask for (dist/THIRD-PARTY-NOTICES.txt).

  notices.py OBJDUMP MAP...               prints the notices for the binaries
                                          whose linker maps are MAP...
  notices.py --check FILE OBJDUMP MAP...  exits 1, saying what FILE lacks

A map (cmake/VorlRelease.cmake writes bin/.debug/<file>.map) names every
toolchain archive member and object that went into its binary. Each belongs
to a Debian package (dpkg -S), whose version goes with it. For MinGW-w64's
packages the member's source file, which its debug information names
(./mingw-w64-crt/gdtoa/dtoa.c), picks the licence from the package's
machine-readable copyright file: the last Files stanza that matches it, as
that format says. Members without debug information (the import libraries'
stubs) are counted as files of mingw-w64-crt with no stanza of their own.
Source files under mingw-w64-libraries/<name>/ make a component of their own
(winpthreads). GCC's archives carry no debug information: the known ones are
under the GPL with the GCC Runtime Library Exception; any other file of the
toolchain is refused until its licence is written down here.

Each component is a section of FILE: its name underlined with "=", the
Debian packages with their versions, then for each licence the copyright
lines and the licence's text as the copyright file gives them. The check
wants, for each component of its maps, the section, each package with this
machine's version, and each licence block, word for word (line ends and the
byte-order mark aside).
"""
import fnmatch
import functools
import os
import re
import subprocess
import sys
import tempfile
import textwrap

# GCC's runtime archives and objects; cp-demangle.o of libstdc++ is libiberty's.
GCC_FILES = {"libgcc.a", "libgcc_eh.a", "libssp.a", "libssp_nonshared.a", "libstdc++.a",
             "crtbegin.o", "crtend.o"}
GCC_LICENCE = ("GPL-3+ with the GCC Runtime Library Exception 3.1", (), """\
libgcc, libgcc_eh, libssp and libstdc++ (and GCC's crtbegin.o and crtend.o) are
under the GNU General Public License, version 3 or later, with version 3.1 of
the GCC Runtime Library Exception (Debian's copyright file of GCC lists them).
The exception lets a program that GCC compiled together with these libraries
be conveyed under terms of the program's own choice, and asks for no notice.
It is named here for users and packagers who look for it.

libstdc++'s demangler (cp-demangle.o) comes from libiberty: the GNU General
Public License, version 2 or later, with a permission to link its compiled
form into other programs and to distribute them without any restriction
coming from that file. It asks for no notice either.""")
HEAD = """\
Code of others in Vorl.exe and d3drm.dll
========================================

Vorl itself is under the MIT licence: see LICENSE.txt. Vorl.exe and d3drm.dll
are linked statically, so the linker put parts of the toolchain's libraries
into them: MinGW-w64's runtime, its winpthreads (Vorl.exe only) and GCC's
runtime libraries, as Debian's packages built them. Each has a section below:
where it is, the Debian packages and their versions, and for each licence the
files it covers, then the copyright lines and the licence's text as Debian's
copyright files give them. scripts/notices.py writes this file from the linker
maps of both builds (i686 and x86_64); the zip holds the i686 build.
"""
NAMES = {"mingw-w64-crt": "MinGW-w64 runtime", "winpthreads": "MinGW-w64 winpthreads",
         "gcc": "GCC runtime libraries"}


@functools.lru_cache(maxsize=None)
def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def linked(path):
    """The toolchain's archive members and objects in one map: {file: {member}}."""
    files = {}
    text = open(path, encoding="utf-8", errors="replace").read()
    included = text.split("\nDiscarded input sections", 1)[0]
    for archive, member in re.findall(r"^(/\S+\.a)\((.+)\)$", included, re.M):
        files.setdefault(os.path.realpath(archive), set()).add(member)
    for obj in re.findall(r"^LOAD (/\S+\.o)$", text, re.M):
        files.setdefault(os.path.realpath(obj), set())
    return files


def sources(objdump, path, members):
    """Member (or the object itself, "") -> the source file its debug information names."""
    with tempfile.TemporaryDirectory() as folder:
        if members:
            subprocess.run(["ar", "x", path, *members], cwd=folder, check=True)
        files = [os.path.join(folder, m) for m in members] or [path]
        found = {}
        for member, file in zip(members or [""], files):
            m = re.search(r"DW_AT_name\s*:.*?\./(mingw-w64-\S+)$", run(objdump, "--dwarf=info", "--dwarf-depth=1", file), re.M)
            if m:
                found[member] = m.group(1)
    return found


@functools.lru_cache(maxsize=None)
def stanzas(package):
    """The Files stanzas of a machine-readable copyright file, with each licence's text."""
    paragraphs, fields = [], None
    for line in open(f"/usr/share/doc/{package}/copyright", encoding="utf-8").read().splitlines() + [""]:
        if not line.strip():
            fields = None
        elif line[0] in " \t" and fields is not None:
            fields[key].append(line[1:].rstrip())  # the text's own indentation kept
        else:
            key, value = line.split(":", 1)
            if fields is None:
                fields = {}
                paragraphs.append(fields)
            fields[key] = [value.strip()] if value.strip() else []
    texts = {p["License"][0]: p["License"][1:] for p in paragraphs if "License" in p and "Files" not in p}
    result = []
    for p in paragraphs:
        if "Files" in p:
            name, text = p["License"][0], p["License"][1:]
            if not text:
                text = [t for part in name.split(" and ") for t in texts.get(part, []) + ["."]][:-1]
            patterns = " ".join(p["Files"]).split()
            result.append((patterns, (name, tuple(p.get("Copyright", [])), "\n".join(
                "" if t.strip() == "." else t for t in text))))
    return result


def components(objdump, maps):
    """{component: {"packages": {name: version}, "in": {binary}, "licences": {block: {source}}}}"""
    found = {}

    def add(component, block, source, package, where):
        entry = found.setdefault(component, {"packages": {}, "in": set(), "licences": {}})
        entry["licences"].setdefault(block, set()).add(source)
        entry["packages"][package] = run("dpkg-query", "-W", "-f=${Version}", package)
        entry["in"].add(where)

    for path in maps:
        binary = os.path.basename(path)[:-len(".map")]
        for file, members in sorted(linked(path).items()):
            arch = "x86_64" if "x86_64-w64-mingw32" in file else "i686"
            where = f"{binary} ({arch})"
            package, name = run("dpkg", "-S", file).split(":")[0], os.path.basename(file)
            if package.startswith("mingw-w64-"):
                # The objdump of the file's own target: one reads only its own.
                tool = re.sub(r"(i686|x86_64)-w64-mingw32", f"{arch}-w64-mingw32", objdump)
                named, files = sources(tool, file, sorted(members)), stanzas(package)
                for member in sorted(members) or [""]:
                    source = named.get(member, f"mingw-w64-crt/{name} (stubs without debug information)")
                    library = source.split("/")[1] if source.startswith("mingw-w64-libraries/") else "mingw-w64-crt"
                    # Every stanza that names the file (mingw_pformat.c is in two), or else "*".
                    blocks = [b for patterns, b in files if any(fnmatch.fnmatchcase(source, p) for p in patterns)]
                    for block in blocks[1:] or blocks:
                        add(NAMES.get(library, f"MinGW-w64 {library}"), block, source, package, where)
            elif name in GCC_FILES and package.startswith(("gcc-mingw-w64", "g++-mingw-w64")):
                add(NAMES["gcc"], GCC_LICENCE, name, package, where)
            else:
                sys.exit(f"notices: {path}: {file} ({package}) is linked in, and its licence is "
                         "not known to scripts/notices.py")
    return found


def block_text(block):
    name, copyright, text = block
    lines = [f"Copyright: {c.strip()}" for c in copyright]
    return "\n".join(lines + ([""] if lines else []) + [text])


def section(name, entry):
    out = [name, "=" * len(name), "",
           "In: " + ", ".join(sorted(entry["in"])),
           "Debian packages:"] + [f"    {p} {v}" for p, v in sorted(entry["packages"].items())]
    for block, files in sorted(entry["licences"].items()):
        out += ["", textwrap.fill(f"--- {block[0]}, for: " + ", ".join(sorted(files)), 78,
                                  subsequent_indent="    ", break_on_hyphens=False), "", block_text(block)]
    return "\n".join(out) + "\n"


def normal(text):
    return text.lstrip("\ufeff").replace("\r\n", "\n")


def main(argv):
    check = argv[:1] == ["--check"]
    if check:
        notices, argv = argv[1], argv[2:]
    objdump, maps = argv[0], argv[1:]
    found = components(objdump, maps)
    if not check:
        print(HEAD, end="")
        for name in sorted(found):
            print("\n\n" + section(name, found[name]), end="")
        return 0
    text = normal(open(notices, encoding="utf-8").read())
    parts = re.split(r"^(.+)\n=+\n", text, flags=re.M)
    sections = dict(zip(parts[1::2], parts[2::2]))
    problems = []
    for name, entry in sorted(found.items()):
        body = sections.get(name)
        print(f"notices: {name}: {', '.join(sorted(entry['in']))}; "
              + "; ".join(f"{b[0]} for {len(f)} files" for b, f in sorted(entry["licences"].items())))
        if body is None:
            problems.append(f"no section \"{name}\"")
            continue
        problems += [f"{name}: no {p} {v}" for p, v in sorted(entry["packages"].items()) if f"{p} {v}" not in body]
        problems += [f"{name}: no {b[0]} notice ({', '.join(sorted(f)[:3])} ...)"
                     for b, f in sorted(entry["licences"].items()) if block_text(b) not in body]
    for p in problems:
        print(f"notices: {notices}: FAIL: {p}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
