#!/usr/bin/env python3
"""Checks compiled help files against what the code asks of them.

For every help file name the sources ask for (help_calls.py, or a table given
with --table), the compiled file must exist, and:
- every context id the code opens maps (the file's #IVB context map and its
  #STRINGS names) to a page inside the file;
- the default topic, the contents and the index (#SYSTEM) are pages of the file;
- every link and reference of every page, of the contents and of the index
  names a page of the file (and an anchor of that page when it has one).
Pages are listed and streams extracted with chmls; the context map and the
#SYSTEM records are read here.
"""
import argparse
import html.parser
import json
import os
import posixpath
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import help_calls  # noqa: E402


def chmls(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, check=False).stdout


def list_names(tool, chm):
    out = chmls(tool, '-n', 'list', chm).decode('cp932', errors='replace')
    return [line.strip() for line in out.splitlines() if line.startswith('/')]


def extract(tool, chm, name, tmp):
    target = os.path.join(tmp, 'stream')
    if os.path.exists(target):
        os.remove(target)
    chmls(tool, 'extract', chm, name, target)
    if not os.path.exists(target):
        return None
    with open(target, 'rb') as f:
        return f.read()


def context_map(ivb, strings):
    """context id -> topic name, from the #IVB pairs (id, offset in #STRINGS)."""
    result = {}
    if ivb is None or len(ivb) < 4:
        return result
    size = struct.unpack_from('<I', ivb, 0)[0]
    body = ivb[4:4 + size]
    for i in range(0, len(body) - 7, 8):
        ident, offset = struct.unpack_from('<II', body, i)
        end = strings.find(b'\0', offset) if strings is not None else -1
        result[ident] = strings[offset:end].decode('cp932', errors='replace') if end >= 0 else None
    return result


def system_records(system):
    """#SYSTEM: a version, then records of (code, length, data)."""
    records = {}
    pos = 4
    while system is not None and pos + 4 <= len(system):
        code, length = struct.unpack_from('<HH', system, pos)
        data = system[pos + 4:pos + 4 + length]
        records[code] = data.split(b'\0')[0].decode('cp932', errors='replace')
        pos += 4 + length
    return records


class Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links, self.anchors = [], set()

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for key in ('href', 'src'):
            if a.get(key):
                self.links.append(a[key])
        if tag == 'param' and (a.get('name') or '').lower() == 'local' and a.get('value'):
            self.links.append(a['value'])
        for key in ('id', 'name'):
            if a.get(key) and tag != 'param':
                self.anchors.add(a[key])


def parse(data):
    p = Links()
    p.feed(data.decode('cp932', errors='replace'))
    return p


def page_key(name):
    return '/' + name.lstrip('/').lower()


def check_file(tool, chm, contexts, problems):
    label = os.path.basename(chm)
    names = list_names(tool, chm)
    pages = {page_key(n): n for n in names if not n.endswith('/')}
    if not pages:
        problems.append(f'{label}: chmls lists no files')
        return
    with tempfile.TemporaryDirectory() as tmp:
        cmap = context_map(extract(tool, chm, '/#IVB', tmp), extract(tool, chm, '/#STRINGS', tmp))
        system = system_records(extract(tool, chm, '/#SYSTEM', tmp))
        for ident in contexts:
            if ident not in cmap:
                problems.append(f'{label}: context id {ident} is not in the context map (map has {sorted(cmap)})')
                continue
            topic = (cmap[ident] or '').split('#')[0]
            if page_key(topic) not in pages:
                problems.append(f'{label}: context id {ident} opens "{cmap[ident]}", which is not a page of the file')
        for code, what in ((2, 'default topic'), (0, 'contents'), (1, 'index')):
            value = system.get(code)
            if not value:
                problems.append(f'{label}: the file names no {what}')
            elif page_key(value.split('#')[0]) not in pages:
                problems.append(f'{label}: its {what} "{value}" is not a page of the file')
        parsed = {}
        for key, name in pages.items():
            if key.endswith(('.html', '.htm', '.hhc', '.hhk')):
                parsed[key] = parse(extract(tool, chm, name, tmp) or b'')
        for key, doc in sorted(parsed.items()):
            base = posixpath.dirname(key)
            for link in doc.links:
                if ':' in link.split('/')[0] or link.startswith('//'):
                    problems.append(f'{label}{pages[key]}: link "{link}" leaves the file')
                    continue
                target, _, anchor = link.partition('#')
                target_key = page_key(posixpath.normpath(posixpath.join(base, target))) if target else key
                if target_key not in pages:
                    problems.append(f'{label}{pages[key]}: link "{link}" names no page of the file')
                elif anchor and anchor not in parsed.get(target_key, Links()).anchors:
                    problems.append(f'{label}{pages[key]}: link "{link}" names no anchor of that page')


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--chmls', default='chmls')
    ap.add_argument('--source-root', help='the sources whose help calls make the table')
    ap.add_argument('--table', help='a JSON table {file: [context ids]} instead of the sources')
    ap.add_argument('--print-table', action='store_true')
    ap.add_argument('chm_dir')
    a = ap.parse_args()
    if a.table:
        with open(a.table) as f:
            wanted = {name: list(c) for name, c in json.load(f).items()}
    else:
        table = help_calls.build_table(a.source_root)
        wanted = {e['file']: e['contexts'] for e in table['help_files']}
    if a.print_table:
        print(json.dumps(wanted, ensure_ascii=False))
    present = {n.lower(): n for n in os.listdir(a.chm_dir)} if os.path.isdir(a.chm_dir) else {}
    problems = []
    if not wanted:
        problems.append('the sources ask for no help file at all')
    for name, contexts in sorted(wanted.items()):
        built = present.get(name.lower())
        if built is None:
            problems.append(f'{name}: the code asks for it, but {a.chm_dir} holds no such help file')
            continue
        check_file(a.chmls, os.path.join(a.chm_dir, built), contexts, problems)
        print(f'{name}: {len(contexts)} context ids checked')
    for p in problems:
        print('FAIL ' + p)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
