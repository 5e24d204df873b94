#!/usr/bin/env python3
"""Checks that every #include between subsystems runs downward.

The subsystems are listed bottom-up in CMakeLists.txt (CORVAN_SUBSYSTEMS),
each with the subsystems it links (CORVAN_DEPS_<name>). A file of src/<a>/
may include src/<b>/ only when b comes before a in that list, and the
subsystems a includes must be exactly the ones it links. Prints every
violation (and, with --graph, the include graph); exits 1 on a violation."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
cmake = (root / 'CMakeLists.txt').read_text()
order = re.search(r'set\(CORVAN_SUBSYSTEMS ([^)]*)\)', cmake).group(1).split()
deps = {m.group(1): set(m.group(2).replace('""', '').split())
        for m in re.finditer(r'set\(CORVAN_DEPS_(\w+) ([^)]*)\)', cmake)}
rank = {name: k for k, name in enumerate(order)}

bad = []
graph = {name: set() for name in order}
for path in sorted((root / 'src').rglob('*.[ch]pp')):
    sub = path.relative_to(root / 'src').parts[0]
    if sub not in rank:
        bad.append(f'{path.relative_to(root)}: folder {sub} is not in CORVAN_SUBSYSTEMS')
        continue
    for n, line in enumerate(path.read_text().splitlines(), 1):
        m = re.match(r'\s*#\s*include\s+"([^/"]+)/', line)
        if not m or m.group(1) == sub:
            continue
        to = m.group(1)
        graph[sub].add(to)
        if to not in rank or rank[to] >= rank[sub]:
            bad.append(f'{path.relative_to(root)}:{n}: {sub} includes {to}, which is not below it')
for sub in order:
    if graph[sub] != deps.get(sub, set()):
        bad.append(f'CMakeLists.txt: {sub} links {sorted(deps.get(sub, set()))} but includes {sorted(graph[sub])}')

for sub in order if '--graph' in sys.argv else []:
    print(f'{sub:>9} -> {" ".join(sorted(graph[sub], key=rank.get)) or "-"}')
for b in bad:
    print('layer violation:', b)
sys.exit(1 if bad else 0)
