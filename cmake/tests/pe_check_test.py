#!/usr/bin/env python3
"""The shipped-file checker fails on deliberately broken builds: decorated
export names, exports the caller has to clean up after, an imported mingw
runtime, a missing dialog template, a manifest that asks for more rights and
a file cut short. Each case must fail for its own reason."""
import argparse
import os
import subprocess
import sys
import tempfile
import unittest

ARGS = None


def run_checker(path, *options):
    result = subprocess.run([sys.executable, ARGS.checker, path, "--machine", "i386"] + list(options),
                            capture_output=True, text=True)
    return result.returncode, result.stdout


def mutated(source, old, new, folder):
    data = open(source, "rb").read()
    assert len(old) == len(new) and data.count(old) >= 1, "pattern to mutate not found"
    path = os.path.join(folder, os.path.basename(source))
    with open(path, "wb") as f:
        f.write(data.replace(old, new))
    return path


class BrokenBuilds(unittest.TestCase):
    def assertCaught(self, code, output, reason):
        self.assertEqual(code, 1, output)
        failures = [line for line in output.splitlines() if line.startswith("FAIL")]
        self.assertTrue(any(reason in line for line in failures), output)

    def test_decorated_export_names(self):
        code, out = run_checker(ARGS.decorated, "--host-header", ARGS.host_header)
        self.assertCaught(code, out, "exports exactly")
        self.assertIn("AddListMail@16", out)

    def test_caller_cleaned_exports(self):
        code, out = run_checker(ARGS.cdecl, "--host-header", ARGS.host_header)
        self.assertCaught(code, out, "AddListMail is stdcall")
        self.assertNotIn("FAIL: pe_check_cdecl.dll: exports exactly", out)

    def test_mingw_runtime_import(self):
        code, out = run_checker(ARGS.runtime)
        self.assertCaught(code, out, "imports only system DLLs")
        self.assertIn("libwinpthread-1.dll", out)

    def test_missing_dialog_template(self):
        code, out = run_checker(ARGS.resources, "--imports", "none", "--resource-ids", ARGS.resource_ids)
        self.assertEqual(code, 0, out)
        with tempfile.TemporaryDirectory() as folder:
            # Dialog 102 becomes 902 in the resource directory's id entry.
            broken = self.renumbered_dialog(ARGS.resources, 102, 902, folder)
            code, out = run_checker(broken, "--imports", "none", "--resource-ids", ARGS.resource_ids)
        self.assertCaught(code, out, "dialog template 102")

    def test_manifest_asking_for_more(self):
        with tempfile.TemporaryDirectory() as folder:
            broken = mutated(ARGS.program, b'level="asInvoker"', b'level="asInvokeX"', folder)
            code, out = run_checker(broken, "--manifest")
        self.assertCaught(code, out, "asInvoker")

    def test_file_cut_short(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "cut.dll")
            with open(path, "wb") as f:
                f.write(open(ARGS.resources, "rb").read()[:700])
            code, out = run_checker(path, "--imports", "none", "--resource-ids", ARGS.resource_ids)
        self.assertEqual(code, 1, out)

    @staticmethod
    def renumbered_dialog(source, old, new, folder):
        sys.path.insert(0, os.path.dirname(ARGS.checker))
        import pe_check
        pe = pe_check.PeFile(source)
        base = pe.offset(pe.directory(2)[0])
        data = bytearray(pe.data)
        named, ids = pe_check.struct.unpack_from("<HH", data, base + 12)
        for i in range(named + ids):
            kind, target = pe_check.struct.unpack_from("<II", data, base + 16 + 8 * i)
            if kind != pe_check.RT_DIALOG:
                continue
            sub = base + (target & 0x7FFFFFFF)
            n2, i2 = pe_check.struct.unpack_from("<HH", data, sub + 12)
            for j in range(n2 + i2):
                entry = sub + 16 + 8 * j
                if pe_check.struct.unpack_from("<I", data, entry)[0] == old:
                    pe_check.struct.pack_into("<I", data, entry, new)
        path = os.path.join(folder, os.path.basename(source))
        with open(path, "wb") as f:
            f.write(data)
        return path


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for name in ("checker", "host-header", "decorated", "cdecl", "runtime", "resources", "resource-ids", "program"):
        parser.add_argument("--" + name, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
