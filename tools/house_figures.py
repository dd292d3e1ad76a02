#!/usr/bin/env python3
"""Figures about how the product's code is laid out, for a reader who wants
to see the house as a whole rather than file by file:

  folders   which folder includes which (counted in #include lines), and the
            pairs of folders that include each other ("includes that run back")
  loops     groups of modules (a header with its .cpp) that include each
            other in a circle
  repeats   runs of six or more lines that occur in more than one product file
            (declarations of overridden operations left out)

Product files are the C++ sources outside tests/ and tools/, less the unit
tests (*_test.cpp). Only quoted includes that name a file of the tree count.

Usage: [WINDOW=N] tools/house_figures.py [folders|loops|repeats ...]   (default: all;
       WINDOW, default 6, the lines per compared run)
Only the Python standard library is used.
"""
import collections
import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
SKIP_DIRS = {'.git', 'tests', 'tools', 'Testing'}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
WINDOW = int(os.environ.get('WINDOW', '6'))  # lines per compared run


def product_files():
    files = []
    for folder, dirs, names in os.walk(ROOT):
        rel = os.path.relpath(folder, ROOT)
        dirs[:] = sorted(d for d in dirs if d not in SKIP_DIRS and not d.startswith('build'))
        for name in sorted(names):
            if name.endswith(('.cpp', '.h', '.h.in')) and not name.endswith('_test.cpp'):
                files.append(os.path.normpath(os.path.join(rel, name)))
    return files


def resolve(including, target, known):
    """The tree path an include names: beside the file first, then from the root."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), target))
    for path in (beside, os.path.normpath(target)):
        if path in known:
            return path
    return None


def include_edges(files):
    known = set(files)
    edges = []
    for path in files:
        with open(os.path.join(ROOT, path), encoding='utf-8') as f:
            for target in INCLUDE.findall(f.read()):
                hit = resolve(path, target, known)
                if hit:
                    edges.append((path, hit))
    return edges


def report_folders(edges):
    counts = collections.Counter((os.path.dirname(a), os.path.dirname(b))
                                 for a, b in edges if os.path.dirname(a) != os.path.dirname(b))
    print('Folder includes (from -> to: #include lines):')
    for (a, b), n in sorted(counts.items()):
        print(f'  {a:22} -> {b:22} {n:3}')
    back = sorted({tuple(sorted(p)) for p in counts if (p[1], p[0]) in counts})
    print(f'Folders that include each other: {len(back)}')
    for a, b in back:
        print(f'  {a} <-> {b}   ({counts[(a, b)]} and {counts[(b, a)]} lines)')
        for x, y in edges:
            if {os.path.dirname(x), os.path.dirname(y)} == {a, b}:
                print(f'      {x} -> {y}')


def module(path):
    return re.sub(r'\.(cpp|h|h\.in)$', '', path)


def strongly_connected(graph):
    """Tarjan's algorithm, iterative; returns the groups of more than one node."""
    index, low, stack, on, groups, counter = {}, {}, [], set(), [], [0]
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter[0]; counter[0] += 1
        stack.append(start); on.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is None:
                work.pop()
                if work:
                    low[work[-1][0]] = min(low[work[-1][0]], low[node])
                if low[node] == index[node]:
                    group = []
                    while True:
                        top = stack.pop(); on.discard(top); group.append(top)
                        if top == node:
                            break
                    if len(group) > 1:
                        groups.append(sorted(group))
            elif child not in index:
                index[child] = low[child] = counter[0]; counter[0] += 1
                stack.append(child); on.add(child)
                work.append((child, iter(sorted(graph.get(child, ())))))
            elif child in on:
                low[node] = min(low[node], index[child])
    return groups


def report_loops(edges):
    files = collections.defaultdict(set)
    modules = collections.defaultdict(set)
    for a, b in edges:
        files[a].add(b)
        if module(a) != module(b):
            modules[module(a)].add(module(b))
    file_loops = strongly_connected(files)
    module_loops = strongly_connected(modules)
    print(f'Files that include each other in a loop: {len(file_loops)}')
    for group in file_loops:
        print('  ' + ' , '.join(group))
    print(f'Modules (header + its .cpp) in a loop: {len(module_loops)}')
    for group in module_loops:
        print('  ' + ' , '.join(group))


def meaningful_lines(path):
    """Lines worth comparing: no blanks, comments, includes or lone braces."""
    with open(os.path.join(ROOT, path), encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            text = ' '.join(line.split())
            if not text or text.startswith(('//', '#include', '/*', '*')):
                continue
            if re.fullmatch(r'[{}();,\s]*|(public|private|protected):|namespace.*|}\s*//.*', text):
                continue
            # A backend's list of the interface's operations restates the
            # interface; it is not code written twice.
            if text.endswith('override;'):
                continue
            yield number, text


def report_repeats(files):
    seen = collections.defaultdict(list)
    for path in files:
        lines = list(meaningful_lines(path))
        for i in range(len(lines) - WINDOW + 1):
            key = '\n'.join(text for _, text in lines[i:i + WINDOW])
            seen[key].append((path, lines[i][0]))
    pairs = collections.defaultdict(list)
    for key, places in seen.items():
        paths = sorted({p for p, _ in places})
        if len(paths) > 1:
            first = {p: min(n for q, n in places if q == p) for p in paths}
            pairs[tuple(paths)].append(first)
    print(f'Runs of {WINDOW}+ lines found in more than one product file: '
          f'{len(pairs)} file groups, {sum(len(v) for v in pairs.values())} windows')
    for paths, hits in sorted(pairs.items()):
        where = ', '.join(f'{p}:{min(h[p] for h in hits)}' for p in paths)
        print(f'  {len(hits):3} windows  {where}')


def main(parts):
    files = product_files()
    edges = include_edges(files)
    print(f'{len(files)} product files, {len(edges)} includes between them')
    if 'folders' in parts:
        report_folders(edges)
    if 'loops' in parts:
        report_loops(edges)
    if 'repeats' in parts:
        report_repeats(files)


if __name__ == '__main__':
    main(sys.argv[1:] or ['folders', 'loops', 'repeats'])
