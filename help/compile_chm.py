#!/usr/bin/env python3
"""Compiles one help file with chmcmd.

The sources are UTF-8 in the repository; the compiled file is read by HTML
Help in the Japanese code page, so pages, contents, index and project are
written in code page 932 (characters outside it, such as Hangul, as numeric
character references).

chmcmd 3.2.2 writes each context id's topic as the project's folder on the
build machine followed by the page name, which HTML Help cannot find inside
the file.  With the project at the root of its file system the topic becomes
"/page.html", the page's own name in the file, so chmcmd runs in a root of its
own (chroot as root, else a user namespace) that holds the sources, chmcmd and
the C library it loads.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

TEXT_EXT = ('.html', '.htm', '.hhc', '.hhk', '.hhp')


def libraries(binary):
    out = subprocess.run(['ldd', binary], capture_output=True, text=True, check=True).stdout
    libs = set(re.findall(r'(/\S+\.so[\.\d]*)', out))
    libdirs = {os.path.dirname(l) for l in libs if 'libc.so' in l}
    for d in libdirs:  # loaded at run time by chmcmd's threads
        for extra in ('libpthread.so.0', 'libdl.so.2'):
            if os.path.exists(os.path.join(d, extra)):
                libs.add(os.path.join(d, extra))
    return libs


def stage_text(src, dst, compiled):
    text = open(src, encoding='utf-8').read()
    text = text.replace('@COMPILED@', compiled)
    text = re.sub(r'charset=utf-8', 'charset=shift_jis', text, flags=re.I)
    with open(dst, 'wb') as f:
        f.write(text.replace('\r\n', '\n').replace('\n', '\r\n').encode('cp932', errors='xmlcharrefreplace'))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--chmcmd', required=True)
    ap.add_argument('--name', required=True, help='file name of the compiled help')
    ap.add_argument('--out', required=True)
    ap.add_argument('sources', nargs='+', help='folders whose files go into the help file')
    a = ap.parse_args()

    stage = a.out + '.stage'
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    projects = []
    for folder in a.sources:
        for name in sorted(os.listdir(folder)):
            src = os.path.join(folder, name)
            if not os.path.isfile(src):
                continue
            if name.endswith(TEXT_EXT):
                stage_text(src, os.path.join(stage, name), a.name)
            else:
                shutil.copyfile(src, os.path.join(stage, name))
            if name.endswith('.hhp'):
                projects.append(name)
    if len(projects) != 1:
        sys.exit(f'{a.name}: expected one .hhp project among {a.sources}, found {projects}')

    chmcmd = os.path.realpath(shutil.which(a.chmcmd) or a.chmcmd)
    shutil.copy2(chmcmd, os.path.join(stage, 'chmcmd'))
    for lib in libraries(chmcmd):
        dst = os.path.join(stage, lib.lstrip('/'))
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(os.path.realpath(lib), dst)

    command = ['/chmcmd', '--no-html-scan', '/' + projects[0]]
    if os.geteuid() == 0:
        run = ['chroot', stage] + command
    else:
        run = ['unshare', '--map-root-user', '--root=' + stage] + command
    result = subprocess.run(run, cwd=stage, capture_output=True, text=True, errors='replace')
    built = os.path.join(stage, a.name)
    if result.returncode != 0 or not os.path.exists(built):
        sys.stderr.write(result.stdout + result.stderr)
        sys.exit(f'{a.name}: chmcmd failed ({result.returncode})')
    os.replace(built, a.out)
    shutil.rmtree(stage)


if __name__ == '__main__':
    main()
