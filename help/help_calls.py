#!/usr/bin/env python3
"""Reads the suite's sources and lists, per help file name, what the code asks
of it: the HTML Help context ids it opens with HH_HELP_CONTEXT.

The table is made from the code, not kept by hand:
- help file names: ".chm" string literals, and names the code derives from a
  module's own file name (HelpFileOf: the module's name with ".chm";
  HelpFileName: the last three letters of the module's name made "CHM"), the
  module names taken from the folder's CMake OUTPUT_NAME and copies;
- context ids: integer literals and named constants passed to the help calls
  (ShowContext, WinHelp, HtmlHelp, and the folder's own functions that pass a
  parameter on to one of them), the help-id constants of the folder
  (HELP_* defines, k...Help... / k...Topic constants) that reach them through
  variables, and the numbers of "app:F_<n>" help links written in the folder.
The context ids of a folder belong to every help file name that folder's code
asks for.  Folders are the top-level program folders (common/ by its
subfolders); tests are not read.

Prints the table as JSON; with --check-resolved it fails when a help call names
a constant that it cannot resolve.
"""
import argparse
import json
import os
import re
import sys

SOURCE_EXT = ('.cpp', '.h', '.hpp', '.rc', '.inc')
SKIP_DIRS = {'tests', 'test', 'build', '.git', 'help', 'bench'}

NUMBER = r'(0[xX][0-9A-Fa-f]+|\d+)[uUlL]*'
DEFINE_RE = re.compile(r'^\s*#\s*define\s+(\w+)\s+\(?\s*' + NUMBER + r'\s*\)?\s*$', re.M)
CONST_RE = re.compile(r'\bconstexpr\s+[\w:\s]+?\b(\w+)\s*=\s*' + NUMBER + r'\s*;')
HELP_CONST_NAME = re.compile(r'^(HELP_\w+|IDH_\w+|k\w*Help\w*(Context|Topic|Id)\w*|k\w*Topic\w*|kHelpContext)$')
LITERAL_CHM = re.compile(r'"([^"\\/]+\.(?:chm|CHM))"')
APP_HELP_LINK = re.compile(r'app:F_(\d+)', re.I)
# Help calls and the index of their context argument.
HELP_CALLS = {'ShowContext': 2, 'ShowImeHelp': 2, 'WinHelp': 0, 'HtmlHelpA': 3, 'HtmlHelpW': 3, 'HtmlHelp': 3}
FUNCTION_RE = re.compile(r'\b(\w+)\s*\(([^()]*)\)\s*(?:const\s*)?(?:override\s*)?\{')


def call_re(names):
    return re.compile(r'(?<![\w:])(?:[\w:]*::|[\w\)\]]+(?:\.|->))?(' + '|'.join(sorted(names)) + r')\s*\(')


def body_at(text, brace):
    depth, i = 0, brace
    while i < len(text):
        depth += {'{': 1, '}': -1}.get(text[i], 0)
        if depth == 0:
            return text[brace:i + 1]
        i += 1
    return text[brace:]


def help_wrappers(texts):
    """Functions of the folder that pass one of their parameters on as the
    context of a help call (ShowHelp(context) and the like), with the index of
    that parameter; found again until no new one appears."""
    calls = dict(HELP_CALLS)
    while True:
        found = {}
        pattern = call_re(calls)
        for text in texts.values():
            for f in FUNCTION_RE.finditer(text):
                name = f.group(1)
                if name in calls or name in ('if', 'for', 'while', 'switch', 'catch'):
                    continue
                params = [re.findall(r'\w+', p)[-1] if re.findall(r'\w+', p) else '' for p in f.group(2).split(',')]
                body = body_at(text, f.end() - 1)
                for c in pattern.finditer(body):
                    args = split_args(body, c.end())
                    index = calls[c.group(1)]
                    if index < len(args) and args[index] in params and args[index]:
                        found[name] = params.index(args[index])
        new = {n: i for n, i in found.items() if n not in calls}
        if not new:
            return calls
        calls.update(new)
OUTPUT_NAME_RE = re.compile(r'OUTPUT_NAME\s+(\w+)')
SUFFIX_RE = re.compile(r'SUFFIX\s+"?(\.\w+)"?')
COPY_RE = re.compile(r'copy\s+\$<TARGET_FILE:\w+>\s+\S*?/(\w+)(\.\w+)')


def strip_comments(text):
    text = re.sub(r'/\*.*?\*/', ' ', text, flags=re.S)
    return re.sub(r'//[^\n]*', '', text)


def read(path):
    with open(path, encoding='utf-8', errors='replace') as f:
        return f.read()


def to_int(s):
    return int(s, 16) if s.lower().startswith('0x') else int(s)


def split_args(text, start):
    """Arguments of the call whose '(' is at text[start - 1]."""
    depth, args, cur, i = 1, [], '', start
    while i < len(text) and depth:
        c = text[i]
        if c in '([{':
            depth += 1
        elif c in ')]}':
            depth -= 1
            if depth == 0:
                break
        if c == ',' and depth == 1:
            args.append(cur.strip())
            cur = ''
        else:
            cur += c
        if c == '"':
            j = text.index('"', i + 1)
            cur += text[i + 1:j + 1]
            i = j
        i += 1
    args.append(cur.strip())
    return args


def program_folders(root):
    for top in sorted(os.listdir(root)):
        path = os.path.join(root, top)
        if not os.path.isdir(path) or top.startswith('.') or top in SKIP_DIRS:
            continue
        if top == 'common':
            for sub in sorted(os.listdir(path)):
                if os.path.isdir(os.path.join(path, sub)):
                    yield 'common/' + sub
        else:
            yield top


def folder_files(root, folder):
    for dirpath, dirs, files in os.walk(os.path.join(root, folder)):
        dirs[:] = [d for d in dirs if d not in SKIP_DIRS]
        for f in files:
            yield os.path.join(dirpath, f)


def module_names(root, folder):
    """(name, extension) of the modules a folder's CMake files build."""
    names = []
    for path in folder_files(root, folder):
        if os.path.basename(path) != 'CMakeLists.txt':
            continue
        text = read(path)
        suffix = SUFFIX_RE.search(text)
        for m in OUTPUT_NAME_RE.finditer(text):
            names.append((m.group(1), suffix.group(1) if suffix else ''))
        for m in COPY_RE.finditer(text):
            names.append((m.group(1), m.group(2)))
    return names


def scan_folder(root, folder):
    texts = {}
    for path in folder_files(root, folder):
        if path.endswith(SOURCE_EXT):
            texts[os.path.relpath(path, root)] = strip_comments(read(path))
    constants = {}
    for text in texts.values():
        for m in DEFINE_RE.finditer(text):
            constants.setdefault(m.group(1), set()).add(to_int(m.group(2)))
        for m in CONST_RE.finditer(text):
            constants.setdefault(m.group(1), set()).add(to_int(m.group(2)))

    files, contexts, calls, unresolved = set(), set(), [], []
    derives_own_name = set()
    help_calls = help_wrappers(texts)
    pattern = call_re(help_calls)
    for rel, text in texts.items():
        for m in LITERAL_CHM.finditer(text):
            files.add(m.group(1))
        if re.search(r'\bHelpFileOf\s*\(', text):
            derives_own_name.add('HelpFileOf')
        if re.search(r'\bHelpFileName\s*\(', text):
            derives_own_name.add('HelpFileName')
        for m in APP_HELP_LINK.finditer(text):
            contexts.add(int(m.group(1)))
        for m in pattern.finditer(text):
            name = m.group(1)
            before = text[max(0, m.start() - 40):m.start()]
            if re.search(r'(void|HWND|bool|int|auto)\s*[\w:]*$', before.rstrip()):
                continue  # a declaration or definition, not a call
            if FUNCTION_RE.match(text, m.start(1)) and name not in HELP_CALLS:
                continue  # the wrapper's own definition
            args = split_args(text, m.end())
            index = help_calls[name]
            if index >= len(args):
                continue
            arg = args[index]
            if name == 'WinHelp' and len(args) > 1 and 'kWinHelpContext' not in args[1]:
                continue  # contents, index or search: no context id
            line = text.count('\n', 0, m.start()) + 1
            call = {'where': f'{rel}:{line}', 'call': name, 'context': arg}
            num = re.fullmatch(NUMBER, arg)
            ident = re.fullmatch(r'(?:\w+::)*(\w+)', arg)
            if num:
                value = to_int(num.group(1))
                if name == 'ShowImeHelp' and value == 0:
                    call['values'] = ['default topic']
                else:
                    contexts.add(value)
                    call['values'] = [value]
            elif ident and ident.group(1) in constants:
                vals = sorted(constants[ident.group(1)])
                contexts.update(vals)
                call['values'] = vals
            elif ident and re.fullmatch(r'k[A-Z]\w*|[A-Z][A-Z0-9_]+', ident.group(1)):
                unresolved.append(call)
                call['values'] = []
            else:
                call['values'] = 'through a variable'
            calls.append(call)
    help_constants = {n: sorted(v) for n, v in constants.items() if HELP_CONST_NAME.match(n)}
    # A frame that routes its WinHelp requests through the framework also asks
    # for the framework's main-window topic (its F1 without a context).
    routes_win_help = any(re.search(r'\bRouteWinHelpToViewer\s*\(', t) for t in texts.values())
    if any(c['values'] == 'through a variable' for c in calls):
        for vals in help_constants.values():
            contexts.update(vals)
    for how in derives_own_name:
        for base, ext in module_names(root, folder):
            if how == 'HelpFileOf':
                files.add(base + '.chm')
            else:
                files.add((base + ext)[:-3] + 'CHM' if ext else base + '.CHM')
    plumbing = not files and bool(calls) and all(c['values'] == 'through a variable' for c in calls)
    return {'folder': folder, 'files': sorted(files), 'contexts': sorted(contexts), 'calls': calls,
            'help_constants': help_constants, 'unresolved': unresolved, 'routes_win_help': routes_win_help,
            'plumbing': plumbing, 'constants': constants}


def build_table(root):
    folders = [scan_folder(root, f) for f in program_folders(root)]
    framework = next((f for f in folders if f['folder'] == 'common/fw'), None)
    main_topic = sorted(framework['constants'].get('kMainWindowTopic', [])) if framework else []
    for f in folders:
        if f['routes_win_help'] and f['files']:
            f['contexts'] = sorted(set(f['contexts']) | set(main_topic))
        del f['constants']
    folders = [f for f in folders if (f['files'] or f['calls']) and not f['plumbing']]
    table = {}
    for f in folders:
        for name in f['files']:
            entry = table.setdefault(name.lower(), {'file': name, 'contexts': set(), 'asked_by': []})
            entry['contexts'].update(f['contexts'])
            entry['asked_by'].append(f['folder'])
    for e in table.values():
        e['contexts'] = sorted(e['contexts'])
    return {'help_files': sorted(table.values(), key=lambda e: e['file'].lower()), 'folders': folders}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('root')
    ap.add_argument('--check-resolved', action='store_true')
    a = ap.parse_args()
    table = build_table(a.root)
    json.dump(table, sys.stdout, indent=1, ensure_ascii=False)
    sys.stdout.write('\n')
    bad = [c for f in table['folders'] for c in f['unresolved']]
    calls_without_file = [f['folder'] for f in table['folders'] if f['calls'] and not f['files']]
    for c in bad:
        print(f"{c['where']}: help context {c['context']} is not a constant this script can resolve", file=sys.stderr)
    for f in calls_without_file:
        print(f'{f}: opens help, but no help file name was found in its code', file=sys.stderr)
    return 1 if a.check_resolved and (bad or calls_without_file) else 0


if __name__ == '__main__':
    sys.exit(main())
