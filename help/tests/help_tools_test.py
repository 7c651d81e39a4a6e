#!/usr/bin/env python3
"""The help table maker and the compiled-file checker on small fixtures: the
checker must see a context id that opens no page of the file (as chmcmd
writes them when run on a project outside the root), a missing context id,
and broken links; the table maker must find the context ids of the help calls
of a small source tree."""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
HELP = os.path.dirname(HERE)
sys.path.insert(0, HELP)
import help_calls  # noqa: E402

TOOLS = {}


def run_checker(chm_dir, table):
    with tempfile.NamedTemporaryFile('w', suffix='.json', delete=False) as f:
        json.dump(table, f)
    try:
        r = subprocess.run([sys.executable, os.path.join(HELP, 'check_chm.py'), '--chmls', TOOLS['chmls'],
                            '--table', f.name, chm_dir], capture_output=True, text=True)
    finally:
        os.remove(f.name)
    return r.returncode, [l[5:] for l in r.stdout.splitlines() if l.startswith('FAIL ')]


class CheckerTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def compile_plain(self):
        """chmcmd run directly on a project in a build folder."""
        src = os.path.join(self.tmp, 'src')
        shutil.copytree(os.path.join(HERE, 'fixture'), src)
        hhp = os.path.join(src, 'fixture.hhp')
        text = open(hhp, encoding='utf-8').read().replace('@COMPILED@', 'fixture.chm')
        open(hhp, 'w', encoding='utf-8').write(text)
        subprocess.run([TOOLS['chmcmd'], 'fixture.hhp'], cwd=src, capture_output=True, check=True)
        out = os.path.join(self.tmp, 'plain')
        os.makedirs(out)
        shutil.move(os.path.join(src, 'fixture.chm'), out)
        return out

    def compile_ours(self):
        out = os.path.join(self.tmp, 'ours')
        os.makedirs(out)
        subprocess.run([sys.executable, os.path.join(HELP, 'compile_chm.py'), '--chmcmd', TOOLS['chmcmd'],
                        '--name', 'fixture.chm', '--out', os.path.join(out, 'fixture.chm'),
                        os.path.join(HERE, 'fixture')], check=True)
        return out

    def test_plain_chmcmd_contexts_open_no_page(self):
        rc, fails = run_checker(self.compile_plain(), {'fixture.chm': [1, 4027]})
        self.assertEqual(rc, 1)
        ctx = [f for f in fails if 'context id' in f]
        self.assertEqual(len(ctx), 2, fails)
        self.assertTrue(all('not a page of the file' in f for f in ctx), ctx)

    def test_compiled_file_maps_contexts_and_finds_broken_links(self):
        rc, fails = run_checker(self.compile_ours(), {'fixture.chm': [1, 4027, 77]})
        self.assertEqual(rc, 1)
        self.assertEqual(sorted(f for f in fails if 'context id' in f),
                         ['fixture.chm: context id 77 is not in the context map (map has [1, 4027])'])
        links = sorted(f for f in fails if 'link' in f)
        self.assertEqual(links, [
            'fixture.chm/a.html: link "b.html#nope" names no anchor of that page',
            'fixture.chm/a.html: link "http://example.com/" leaves the file',
            'fixture.chm/a.html: link "missing.html" names no page of the file',
        ])

    def test_missing_help_file(self):
        out = self.compile_ours()
        rc, fails = run_checker(out, {'fixture.chm': [1], 'OTHER.CHM': []})
        self.assertEqual(rc, 1)
        self.assertIn('OTHER.CHM: the code asks for it, but ' + out + ' holds no such help file', fails)


def write(root, rel, text):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    open(path, 'w', encoding='utf-8').write(textwrap.dedent(text))


class TableTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        write(self.root, 'common/fw/core/help_route.h', '''
            inline constexpr unsigned long kMainWindowTopic = 0x2060A;
            ''')
        # A program with a literal file name, a literal context and a
        # constant reaching the call through a variable.
        write(self.root, 'alpha/win/alpha.cpp', '''
            #include "alpha_ids.h"
            void OnMenu() { fw::CurrentHelpViewer().ShowContext(hwnd(), folder + "Alpha.chm", 12); }
            void OnButton() { fw::CurrentHelpViewer().ShowContext(hwnd(), folder + "Alpha.chm", topic_); }
            // ShowContext(hwnd(), "Commented.chm", 99);
            ''')
        write(self.root, 'alpha/win/alpha_ids.h', '#define HELP_ALPHA_PAGE 0x20\n#define IDC_BUTTON 1000\n')
        write(self.root, 'alpha/tests/alpha_test.cpp', 'ShowContext(h, "Test.chm", 5);\n')
        # A program that names its help after its own module and routes WinHelp.
        write(self.root, 'beta/CMakeLists.txt', 'set_target_properties(BETA6 PROPERTIES OUTPUT_NAME BETA6 SUFFIX ".EXE")\n')
        write(self.root, 'beta/app.cpp', '''
            void Init() { helpFile_ = fw::HelpFileOf(module().handle()); }
            void CFrame::WinHelp(unsigned long data, unsigned command) { fw::RouteWinHelpToViewer(hwnd(), helpFile_, command, data); }
            void Help() { WinHelp(kBetaTopic, fw::kWinHelpContext); WinHelp(0, fw::kWinHelpContents); }
            constexpr unsigned kBetaTopic = 7;
            ''')

    def tearDown(self):
        shutil.rmtree(self.root)

    def test_table_from_sources(self):
        table = {e['file']: (e['contexts'], e['asked_by']) for e in help_calls.build_table(self.root)['help_files']}
        self.assertEqual(table, {
            'Alpha.chm': ([12, 0x20], ['alpha']),
            'BETA6.chm': ([7, 0x2060A], ['beta']),
        })

    def test_context_through_a_wrapper(self):
        write(self.root, 'delta/d.cpp', '''
            void OpenHelp(HWND owner, unsigned long topic) { HtmlHelpA(GetDesktopWindow(), g_file, HH_HELP_CONTEXT, topic); }
            void Page::OnHelp() { OpenHelp(hwnd(), 25); }
            void Sheet::OnHelp() { OpenHelp(hwnd(), kVoicePage); }
            constexpr int kVoicePage = 26;
            const char g_file[] = "Delta.chm";
            ''')
        table = {e['file']: e['contexts'] for e in help_calls.build_table(self.root)['help_files']}
        self.assertEqual(table['Delta.chm'], [25, 26])

    def test_unresolved_constant_is_reported(self):
        write(self.root, 'gamma/g.cpp', 'void H() { ShowContext(h, "G.chm", kNowhere); }\n')
        folders = {f['folder']: f for f in help_calls.build_table(self.root)['folders']}
        self.assertEqual([c['context'] for c in folders['gamma']['unresolved']], ['kNowhere'])


if __name__ == '__main__':
    ap = argparse.ArgumentParser()
    ap.add_argument('--chmcmd', default='chmcmd')
    ap.add_argument('--chmls', default='chmls')
    args, rest = ap.parse_known_args()
    TOOLS.update(chmcmd=args.chmcmd, chmls=args.chmls)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
