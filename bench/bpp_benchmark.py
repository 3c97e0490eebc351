#!/usr/bin/env python3
"""Published bin-packing instances through `tablix-cli plan --cutlist`, as a user would plan them.

Each instance becomes a cut list (one profile, sizes as cm) and a stock file (bar = capacity,
kerf 0, trim 0); the plan is checked (every piece cut once, every bar within its length) and
compared with the known optimum. Prints one line per set.

usage: bench/bpp_benchmark.py [--cli build-release/tablix-cli] [--data ../shared/bpp] [--only SET]
"""
import argparse
import collections
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time


def read_instance(path):
    numbers = open(path).read().split()
    n, capacity = int(numbers[0]), int(numbers[1])
    return capacity, [int(x) for x in numbers[2:2 + n]]


def plan(cli, workdir, sizes, capacity):
    csv = os.path.join(workdir, 'cutlist.csv')
    stock = os.path.join(workdir, 'stock.json')
    with open(csv, 'w') as f:
        for size, count in sorted(collections.Counter(sizes).items(), reverse=True):
            f.write(f'Bar,{size}.00,{count}\r\n')
    with open(stock, 'w') as f:
        json.dump({'default': {'barLength': capacity, 'kerf': 0, 'trim': 0}}, f)
    start = time.perf_counter()
    run = subprocess.run([cli, '--workdir', workdir, 'plan', '--cutlist', csv, '--stock', stock, '--json'],
                         capture_output=True, text=True)
    seconds = time.perf_counter() - start
    if run.returncode != 0:
        raise RuntimeError(run.stderr)
    return json.loads(run.stdout)['profiles'][0], seconds


def check(profile, sizes, capacity):
    cut = collections.Counter()
    for bar in profile['bars']:
        if sum(bar['cuts']) > capacity + 1e-9:
            return 'a bar holds more than its length'
        cut.update(round(c) for c in bar['cuts'])
    if cut != collections.Counter(sizes):
        return 'the bars do not hold exactly the pieces'
    return ''


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument('--cli', default=os.path.join(here, '..', 'build-release', 'tablix-cli'))
    parser.add_argument('--data', default=os.path.join(here, '..', '..', 'shared', 'bpp'))
    parser.add_argument('--only', action='append', help='a set (folder) to run; may be repeated')
    parser.add_argument('--misses', action='store_true', help='name every instance above its optimum')
    args = parser.parse_args()

    optimum = {}
    for line in open(os.path.join(args.data, 'optimum.txt')):
        if line.strip():
            name, value = line.split()
            optimum[name] = int(value)
    sets = collections.defaultdict(list)
    for name in sorted(optimum):
        sets[name.split('/')[0]].append(name)

    header = f"{'set':<14}{'n':>5}{'at opt':>8}{'claimed':>9}{'mean exc':>10}{'max exc':>9}{'median s':>10}{'slowest s':>11}{'FFD at opt':>12}{'FFD mean exc':>14}"
    print(header)
    totals = collections.Counter()
    bad = 0
    with tempfile.TemporaryDirectory() as workdir:
        for folder, names in sets.items():
            if args.only and folder not in args.only:
                continue
            at, claimed, ffd_at, excess, ffd_excess, times = 0, 0, 0, [], [], []
            for name in names:
                capacity, sizes = read_instance(os.path.join(args.data, name + '.txt'))
                profile, seconds = plan(args.cli, workdir, sizes, capacity)
                wrong = check(profile, sizes, capacity)
                bars, best = len(profile['bars']), optimum[name]
                if wrong or bars > profile['firstFitBars'] or profile['lowerBound'] > best:
                    bad += 1
                    print(f'  {name}: {wrong or "worse than first fit or bound above the optimum"}', file=sys.stderr)
                at += bars == best
                claimed += bool(profile['optimal'])
                ffd_at += profile['firstFitBars'] == best
                excess.append(bars - best)
                ffd_excess.append(profile['firstFitBars'] - best)
                times.append(seconds)
                if args.misses and bars > best:
                    print(f'  {name}: {bars} bars, optimum {best}, bound {profile["lowerBound"]}, {seconds:.2f} s', file=sys.stderr)
            print(f'{folder:<14}{len(names):>5}{at:>8}{claimed:>9}{statistics.mean(excess):>10.3f}{max(excess):>9}'
                  f'{statistics.median(times):>10.3f}{max(times):>11.3f}{ffd_at:>12}{statistics.mean(ffd_excess):>14.3f}',
                  flush=True)
            totals.update({'n': len(names), 'at': at, 'claimed': claimed, 'ffd': ffd_at})
    print(f"{'all':<14}{totals['n']:>5}{totals['at']:>8}{totals['claimed']:>9}{'':>52}{totals['ffd']:>12}")
    print(f'invalid plans, plans worse than first fit or bounds above the optimum: {bad}')
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
