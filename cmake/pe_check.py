#!/usr/bin/env python3
"""Checks a shipped Windows file as it lies on disk, without running it.

Usage: pe_check.py FILE [--machine i386|amd64] [--imports system|none]
                   [--host-header H [--def D]] [--manifest] [--version]
                   [--resource-ids H] [--large-address-aware]

Prints one line per check and exits with 1 when any check fails. The PE
format is read here directly, so the check works on any machine, whatever
code it can run; only the stdcall check disassembles, with binutils.
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

MACHINES = {0x14C: "i386", 0x8664: "amd64"}
RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24

# What Windows itself provides; anything else (a mingw runtime such as
# libgcc_s_dw2-1.dll, libstdc++-6.dll or libwinpthread-1.dll) would have to
# ship beside the file.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "gdi32.dll", "imm32.dll",
    "kernel32.dll", "msvcrt.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll", "secur32.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll", "wininet.dll",
    "winmm.dll", "winspool.drv", "ws2_32.dll",
}


class PeError(Exception):
    pass


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = self.u32(0x3C)
        if d[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        self.machine, nsections, _, _, _, opt_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = self.u16(opt)
        if self.magic == 0x10B:
            self.subsystem = self.u16(opt + 68)
            ndirs, dirs = self.u32(opt + 92), opt + 96
        elif self.magic == 0x20B:
            self.subsystem = self.u16(opt + 68)
            ndirs, dirs = self.u32(opt + 108), opt + 112
        else:
            raise PeError("unknown optional header 0x%x" % self.magic)
        self.dirs = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(min(ndirs, 16))]
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            name, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", d, sec + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), va, max(vsize, rsize), raw, rsize))
        self.image_base = (self.u32(opt + 28) if self.magic == 0x10B else struct.unpack_from("<Q", d, opt + 24)[0])

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for _, va, size, raw, rsize in self.sections:
            if va <= rva < va + size:
                if rva - va >= rsize:
                    raise PeError("RVA 0x%x lies outside the file" % rva)
                return raw + rva - va
        raise PeError("RVA 0x%x in no section" % rva)

    def cstring(self, rva):
        at = self.offset(rva)
        end = self.data.index(b"\0", at)
        return self.data[at:end].decode("latin-1")

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def imports(self):
        names = []
        rva, size = self.directory(1)
        if rva:
            at = self.offset(rva)
            while True:
                desc = struct.unpack_from("<IIIII", self.data, at)
                if not any(desc):
                    break
                names.append(self.cstring(desc[3]))
                at += 20
        rva, size = self.directory(13)  # delay-load imports
        if rva:
            at = self.offset(rva)
            while True:
                desc = struct.unpack_from("<8I", self.data, at)
                if not any(desc):
                    break
                names.append(self.cstring(desc[1]))
                at += 32
        return names

    def exports(self):
        """Name -> RVA, plus the count of functions without a name."""
        rva, size = self.directory(0)
        if not rva:
            return {}, 0
        (_, _, _, _, _, _, nfuncs, nnames, funcs, names, ords) = struct.unpack_from("<IIHHIIIIIII", self.data,
                                                                                    self.offset(rva))
        result = {}
        for i in range(nnames):
            name = self.cstring(self.u32(self.offset(names) + 4 * i))
            ordinal = self.u16(self.offset(ords) + 2 * i)
            result[name] = self.u32(self.offset(funcs) + 4 * ordinal)
        return result, nfuncs - nnames

    def resources(self):
        """(type, name) -> bytes of the first language; ids are ints, names strings."""
        rva, size = self.directory(2)
        found = {}
        if not rva:
            return found
        base = self.offset(rva)

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, base + at + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
                if name & 0x80000000:
                    o = base + (name & 0x7FFFFFFF)
                    n = self.u16(o)
                    name = self.data[o + 2:o + 2 + 2 * n].decode("utf-16-le")
                yield name, target

        for rtype, t in entries(0):
            if not t & 0x80000000:
                raise PeError("resource type without a directory")
            for rname, n in entries(t & 0x7FFFFFFF):
                if not n & 0x80000000:
                    raise PeError("resource name without a directory")
                for _, leaf in entries(n & 0x7FFFFFFF):
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + leaf)
                    at = self.offset(data_rva)
                    if at + data_size > len(self.data):
                        raise PeError("resource %s/%s runs past the file's end" % (rtype, rname))
                    found.setdefault((rtype, rname), self.data[at:at + data_size])
        return found


def sz_or_ord(data, at):
    """A dialog template's name field: (value, next offset)."""
    first = struct.unpack_from("<H", data, at)[0]
    if first == 0:
        return "", at + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from("<H", data, end)[0]:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def dialog_controls(data):
    """Control ids of a DIALOG or DIALOGEX template; raises on a malformed one."""
    ex = len(data) >= 4 and struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    if ex:
        _, _, _, _, style, count = struct.unpack_from("<HHIIIH", data, 0)
        at = 26
    else:
        style, _, count = struct.unpack_from("<IIH", data, 0)
        at = 18
    _, at = sz_or_ord(data, at)  # menu
    _, at = sz_or_ord(data, at)  # class
    _, at = sz_or_ord(data, at)  # title
    if style & 0x40:  # DS_SETFONT
        at += 6 if ex else 2
        _, at = sz_or_ord(data, at)
    ids = []
    for _ in range(count):
        at = (at + 3) & ~3
        if ex:
            ident = struct.unpack_from("<i", data, at + 20)[0]
            at += 24
        else:
            ident = struct.unpack_from("<h", data, at + 16)[0]
            at += 18
        _, at = sz_or_ord(data, at)  # class
        _, at = sz_or_ord(data, at)  # title
        extra = struct.unpack_from("<H", data, at)[0]
        at += 2 + extra
        ids.append(ident)
    if at > len(data):
        raise PeError("template runs past its resource")
    return ids


def version_strings(data):
    """Fixed file version and the StringFileInfo values of a VS_VERSIONINFO."""
    length, value_length, _ = struct.unpack_from("<HHH", data, 0)
    key_end = data.index(b"\0\0", 6)
    key_end += (key_end - 6) % 2  # UTF-16 boundary
    if data[6:key_end].decode("utf-16-le") != "VS_VERSION_INFO":
        raise PeError("no VS_VERSION_INFO key")
    fixed = (key_end + 2 + 3) & ~3
    signature, _, ms, ls = struct.unpack_from("<IIII", data, fixed)
    if value_length < 52 or signature != 0xFEEF04BD:
        raise PeError("no VS_FIXEDFILEINFO")
    strings = {}
    text = data[:length].decode("utf-16-le", errors="replace")
    for key in ("FileVersion", "OriginalFilename", "ProductName", "FileDescription"):
        m = re.search(key + "\0+([^\0]+)\0", text)
        if m:
            strings[key] = m.group(1)
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF), strings


def host_functions(header):
    """Functions a host header declares with WINAPI: name -> parameter count."""
    text = open(header, encoding="latin-1").read()
    text = re.sub(r"/\*.*?\*/|//[^\n]*", "", text, flags=re.S)
    found = {}
    for m in re.finditer(r"\bWINAPI\s+(\w+)\s*\(([^)]*)\)", text):
        params = [p for p in m.group(2).split(",") if p.strip() and p.strip() != "void"]
        found[m.group(1)] = len(params)
    return found


def callee_pops(path, pe, rva, objdump):
    """Bytes every return of the function at rva pops, or None without a return."""
    start = pe.image_base + rva
    out = subprocess.run([objdump, "-d", "--start-address=0x%x" % start, "--stop-address=0x%x" % (start + 8192),
                          path], capture_output=True, text=True, check=True).stdout
    pops = set()
    began = False
    for line in out.splitlines():
        label = re.match(r"^[0-9a-f]+ <(.+)>:$", line)
        if label:
            if began:
                break  # the next function
            began = True
            continue
        m = re.search(r"\tret[lw]?\s*(\$0x[0-9a-f]+)?\s*$", line)
        if m:
            pops.add(int(m.group(1)[1:], 16) if m.group(1) else 0)
    return pops


class Report:
    def __init__(self, path):
        self.name = os.path.basename(path)
        self.failed = 0

    def check(self, ok, what):
        print("%s: %s: %s" % ("ok" if ok else "FAIL", self.name, what))
        if not ok:
            self.failed += 1


def check_exports(report, path, pe, header, def_file, objdump):
    want = host_functions(header)
    report.check(bool(want), "%s declares WINAPI functions" % os.path.basename(header))
    exports, unnamed = pe.exports()
    report.check(sorted(exports) == sorted(want) and unnamed == 0,
                 "exports exactly %s (found %s%s)" % (sorted(want), sorted(exports),
                                                      ", %d without a name" % unnamed if unnamed else ""))
    if def_file:
        text = open(def_file, encoding="latin-1").read()
        for name, count in sorted(want.items()):
            report.check(re.search(r"^\s*%s=%s@%d\s*$" % (name, name, 4 * count), text, re.M) is not None,
                         "%s binds %s=%s@%d" % (os.path.basename(def_file), name, name, 4 * count))
    if pe.machine != 0x14C:
        return
    for name, count in sorted(want.items()):
        if name not in exports:
            continue
        pops = callee_pops(path, pe, exports[name], objdump)
        report.check(pops == {4 * count}, "%s is stdcall: every return pops %d bytes (found %s)"
                     % (name, 4 * count, sorted(pops) or "no return"))


def check_manifest(report, resources, machine):
    data = resources.get((RT_MANIFEST, 1))
    report.check(data is not None, "manifest resource 1")
    if data is None:
        return
    try:
        root = ET.fromstring(data)
    except ET.ParseError as e:
        report.check(False, "manifest is well-formed XML (%s)" % e)
        return
    levels = [e.get("level") for e in root.iter() if e.tag.endswith("requestedExecutionLevel")]
    report.check(levels == ["asInvoker"], "manifest asks for asInvoker (found %s)" % levels)
    arch = {"i386": "x86", "amd64": "amd64"}[machine]
    deps = [e for e in root.iter() if e.tag.endswith("assemblyIdentity")
            and e.get("name") == "Microsoft.Windows.Common-Controls"]
    report.check(len(deps) == 1 and deps[0].get("version") == "6.0.0.0"
                 and deps[0].get("processorArchitecture") in (arch, "*"),
                 "manifest depends on common controls 6.0.0.0 for %s" % arch)


def check_version(report, resources, path):
    data = resources.get((RT_VERSION, 1))
    report.check(data is not None, "version resource 1")
    if data is None:
        return
    try:
        fixed, strings = version_strings(data)
    except (PeError, ValueError, struct.error) as e:
        report.check(False, "version resource parses (%s)" % e)
        return
    report.check(fixed != (0, 0, 0, 0) and "FileVersion" in strings,
                 "file version %s (%s)" % (".".join(map(str, fixed)), strings.get("FileVersion")))
    original = strings.get("OriginalFilename", "")
    report.check(original.lower() == os.path.basename(path).lower(),
                 "original file name %r" % original)


def resource_ids(header):
    defines = dict((m.group(1), int(m.group(2))) for m in
                   re.finditer(r"^#define\s+(QXU_\w+)\s+(\d+)", open(header).read(), re.M))
    icons = {v for k, v in defines.items() if k.startswith("QXU_ICON_")}
    dialogs = {}
    for key, value in defines.items():
        if key.startswith("QXU_DIALOG_"):
            # The controls of dialog QXU_DIALOG_<WORD>[_...] are QXU_<WORD>_*.
            word = key[len("QXU_DIALOG_"):].split("_")[0]
            dialogs[value] = (key, sorted(v for k, v in defines.items() if k.startswith("QXU_%s_" % word)))
    return dialogs, icons


def check_resource_ids(report, resources, header):
    dialogs, icons = resource_ids(header)
    report.check(bool(dialogs) and bool(icons), "%s names dialogs and icons" % os.path.basename(header))
    for number, (name, controls) in sorted(dialogs.items()):
        data = resources.get((RT_DIALOG, number))
        if data is None:
            report.check(False, "dialog template %d (%s)" % (number, name))
            continue
        try:
            ids = dialog_controls(data)
        except (PeError, struct.error) as e:
            report.check(False, "dialog template %d (%s) parses (%s)" % (number, name, e))
            continue
        missing = [c for c in controls if c not in ids]
        report.check(not missing, "dialog template %d (%s) with %d controls%s"
                     % (number, name, len(ids), ", missing %s" % missing if missing else ""))
    for number in sorted(icons):
        data = resources.get((RT_GROUP_ICON, number))
        if data is None or len(data) < 6:
            report.check(False, "icon %d" % number)
            continue
        _, kind, count = struct.unpack_from("<HHH", data, 0)
        images = [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]
        bad = [e[7] for e in images if len(resources.get((RT_ICON, e[7]), b"")) != e[6]]
        report.check(kind == 1 and count > 0 and not bad,
                     "icon %d with %d images (%s)%s" % (number, count, ", ".join("%dx%d" % (e[0] or 256, e[1] or 256)
                                                                           for e in images),
                                                     ", missing images %s" % bad if bad else ""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--machine", default="i386", choices=sorted(MACHINES.values()))
    parser.add_argument("--imports", choices=("system", "none"), default="system")
    parser.add_argument("--host-header")
    parser.add_argument("--def", dest="def_file")
    parser.add_argument("--manifest", action="store_true")
    parser.add_argument("--version", action="store_true")
    parser.add_argument("--resource-ids")
    parser.add_argument("--large-address-aware", action="store_true")
    parser.add_argument("--objdump")
    args = parser.parse_args()

    report = Report(args.file)
    try:
        pe = PeFile(args.file)
    except (OSError, PeError, struct.error) as e:
        report.check(False, "readable PE file (%s)" % e)
        return 1
    try:
        machine = MACHINES.get(pe.machine, "0x%x" % pe.machine)
        want_magic = 0x10B if args.machine == "i386" else 0x20B
        report.check(machine == args.machine and pe.magic == want_magic,
                     "%s, machine %s (want %s)" % ("PE32" if pe.magic == 0x10B else "PE32+", machine, args.machine))
        imports = pe.imports()
        if args.imports == "none":
            report.check(not imports, "imports nothing (found %s)" % imports)
        else:
            foreign = [n for n in imports if n.lower() not in SYSTEM_DLLS]
            report.check(not foreign, "imports only system DLLs%s"
                         % (" (also %s)" % foreign if foreign else " (%s)" % ", ".join(sorted(imports))))
        if args.large_address_aware:
            report.check(bool(pe.characteristics & 0x20), "large-address-aware")
        if args.host_header:
            objdump = args.objdump or ("i686-w64-mingw32-objdump" if pe.machine == 0x14C
                                       else "x86_64-w64-mingw32-objdump")
            check_exports(report, args.file, pe, args.host_header, args.def_file, objdump)
        resources = pe.resources()
        if args.manifest:
            check_manifest(report, resources, args.machine)
        if args.version:
            check_version(report, resources, args.file)
        if args.resource_ids:
            check_resource_ids(report, resources, args.resource_ids)
    except (PeError, struct.error, ValueError) as e:
        report.check(False, "file structure (%s)" % e)
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
