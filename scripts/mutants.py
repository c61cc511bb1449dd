#!/usr/bin/env python3
"""Seeded single-fault mutation run over the production sources of core/, casefile/ and cli/.

Each mutant is one realistic fault (a flipped comparison, a swapped arithmetic or logical
operator, a changed constant, a deleted statement, a changed character of a string literal),
written into the source, rebuilt incrementally in its own build folder, and put to the non-GUI
tests, which stop at the first failure. The file is restored afterwards, always (Ctrl+C too).
A mutant that does not compile is replaced by the next one and not counted.

  scripts/mutants.py [-n N] [-s SEED] [--build DIR] [--jobs J] [--only PATH_REGEX] [--list]
                     [--matrix FILE]

--matrix runs every test on every mutant and writes, a JSON line per mutant, all the tests that
kill it: a test that is the only killer of some mutant is one to keep when cutting tests.

MUTANTS and MUTANTS_SEED in the environment give the defaults of -n and -s (make mutants).
Exit status: 0 when the run finished, 1 on an error of the run itself, 130 when interrupted.
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ('core', 'casefile', 'cli')
SOURCES = ('.cpp', '.h')
TEST_EXCLUDE = r'^format\.check$|^cli\.man_page$|^cli\.bash_completion$'

# ---------------------------------------------------------------------------------------------
# Where faults can go


def blank_out(text):
    """The text with comments, preprocessor lines and string/char literals blanked (same
    offsets), and the spans of the string literals."""
    out = list(text)
    strings = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == '#':
            j = text.find('\n', i)
            j = n if j < 0 else j
            while j > 0 and text[j - 1] == '\\' and j < n:
                j = text.find('\n', j + 1)
                j = n if j < 0 else j
            for k in range(i, j):
                out[k] = ' '
            i = j
            continue
        if c == '\n':
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = ' '
            i = j
            continue
        if text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if out[k] != '\n':
                    out[k] = ' '
            i = j
            continue
        m = re.match(r'R"([^(\s]*)\(', text[i:i + 20]) if c == 'R' else None
        if m:
            end = text.find(')' + m.group(1) + '"', i + m.end())
            end = n if end < 0 else end + len(m.group(1)) + 2
            for k in range(i, end):
                if out[k] != '\n':
                    out[k] = ' '
            i = end
            continue
        if c in '"\'' and not (c == "'" and i > 0 and text[i - 1].isalnum()):  # 1'000 separators
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            if c == '"':
                strings.append((i + 1, j))
            for k in range(i, min(j + 1, n)):
                out[k] = ' '
            i = j + 1
            continue
        i += 1
    return ''.join(out), strings


COMPARISONS = {'<': '<=', '<=': '<', '>': '>=', '>=': '>', '==': '!=', '!=': '=='}
ARITHMETIC = {'+': '-', '-': '+', '*': '/', '/': '*', '%': '*', '+=': '-=', '-=': '+=', '*=': '/=', '/=': '*='}
LOGICAL = {'&&': '||', '||': '&&'}


def sites_of(path, text):
    """Every mutation site of one file: (kind, start, end, replacement, note)."""
    code, strings = blank_out(text)
    sites = []
    # Binary operators: clang-format puts a space on each side, which keeps templates,
    # pointers, stream operators and unary minus out.
    for m in re.finditer(r'(?<=\S) (<=|>=|==|!=|<|>|\+=|-=|\*=|/=|\+|-|\*|/|%|&&|\|\|) (?=\S)', code):
        op = m.group(1)
        if op in COMPARISONS:
            kind, new = 'comparison', COMPARISONS[op]
        elif op in LOGICAL:
            kind, new = 'logical', LOGICAL[op]
        else:
            kind, new = 'arithmetic', ARITHMETIC[op]
        sites.append((kind, m.start(1), m.end(1), new, f'{op} -> {new}'))
    # Negations dropped.
    for m in re.finditer(r'(?<![\w)\]])!(?=[\w(])', code):
        sites.append(('logical', m.start(), m.end(), '', 'drop !'))
    # Constants: off by one either way; 0 and 1 swap.
    for m in re.finditer(r'(?<![\w.])(\d+\.\d*|\.\d+|\d+)(?:[eE][-+]?\d+)?([uUlLfF]*)(?![\w.])', code):
        lit = m.group(1)
        if '.' in lit:
            digits = [k for k, ch in enumerate(lit) if ch.isdigit()]
            k = digits[-1]
            d = int(lit[k])
            new = lit[:k] + str(d + 1 if d < 9 else d - 1) + lit[k + 1:]
            sites.append(('constant', m.start(1), m.end(1), new, f'{lit} -> {new}'))
        else:
            v = int(lit)
            for new in ([1] if v == 0 else [0] if v == 1 else [v + 1, v - 1]):
                sites.append(('constant', m.start(1), m.end(1), str(new), f'{lit} -> {new}'))
    # Statements deleted: a whole one-line statement inside a body, after a complete one.
    lines = code.split('\n')
    offset, prev = 0, ''
    starts = []
    for line in lines:
        starts.append(offset)
        offset += len(line) + 1
    for idx, line in enumerate(lines):
        s = line.strip()
        if (line.startswith('    ') and s.endswith(';') and '{' not in s and '}' not in s
                and not re.match(r'(return|using|namespace|typedef|static_assert)\b', s)
                and not re.match(r'(const |constexpr |static |auto |std::|[\w:<>,]+\s*[&*]?\s+\w+\s*(=|\(|\{|;))', s)
                and (prev.endswith((';', '{', '}', ':')) or prev == '')):
            a = starts[idx] + len(line) - len(line.lstrip())
            sites.append(('statement', a, starts[idx] + len(line), '', 'delete statement'))
        if s:
            prev = s
    # String literals: one character changed.
    for a, b in strings:
        letters = [k for k in range(a, b) if text[k].isalnum() and text[k - 1] != '\\']
        if letters:
            sites.append(('string', a, b, None, 'string character'))
    return sites


def mutate(text, site, rng):
    kind, a, b, new, note = site
    if kind == 'string':
        letters = [k for k in range(a, b) if text[k].isalnum() and text[k - 1] != '\\']
        k = rng.choice(letters)
        ch = text[k]
        rep = 'x' if ch != 'x' else 'y'
        if ch.isdigit():
            rep = str((int(ch) + 1) % 10)
        elif ch.isupper():
            rep = rep.upper()
        return text[:k] + rep + text[k + 1:], f'string character {ch!r} -> {rep!r}'
    return text[:a] + new + text[b:], note


def all_sites():
    out = []
    for folder in FOLDERS:
        for dirpath, _, names in sorted(os.walk(os.path.join(ROOT, folder))):
            for name in sorted(names):
                if not name.endswith(SOURCES):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), ROOT)
                with open(os.path.join(ROOT, path), encoding='utf-8') as f:
                    text = f.read()
                out += [(path, s) for s in sites_of(path, text)]
    return out


# ---------------------------------------------------------------------------------------------
# Build and test


def run(cmd, timeout=None, **kw):
    """A child in its own process group, killed whole on timeout or interrupt."""
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         start_new_session=True, cwd=ROOT, **kw)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out
    except subprocess.TimeoutExpired:
        kill_group(p.pid)
        out, _ = p.communicate()
        return None, out
    except BaseException:
        kill_group(p.pid)
        p.communicate()
        raise


def kill_group(pid):
    try:
        os.killpg(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def configure(build):
    # Always: a folder configured another way is brought to these settings.
    extra = ['-DCMAKE_CXX_COMPILER_LAUNCHER=ccache'] if shutil.which('ccache') else []
    # Every mutant relinks every test: lld does that in a fraction of the time of ld.bfd.
    if shutil.which('ld.lld'):
        extra.append('-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld')
    # -O1: a mutant's file compiles in about half the time of -O3, and the tests barely notice.
    rc, out = run(['cmake', '-S', '.', '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=Release',
                   '-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG', '-DTALLEX_BUILD_APP=OFF',
                   '-DCMAKE_PROJECT_INCLUDE_BEFORE=' + os.path.join(ROOT, 'scripts', 'mutants-shared.cmake'),
                   '-DTALLEX_BUILD_BENCH=OFF'] + extra)
    if rc != 0:
        sys.exit('mutants: configure failed\n' + out)


def build_all(build, jobs, timeout=None):
    # Every target of this folder is non-GUI (the desktop program is off): the tests,
    # the fuzz replays and tallex-cli.
    return run(['nice', 'cmake', '--build', build, '-j', str(jobs)], timeout=timeout)


def list_tests(build):
    rc, out = run(['ctest', '--test-dir', build, '-N', '-E', TEST_EXCLUDE])
    return [m.group(1) for m in re.finditer(r'Test\s+#\d+: (\S+)', out)]


def run_tests(build, names, timeout, jobs, times=None):
    """True when every named test passes; False at the first failure (or a hang). With `times`,
    records each test's duration from ctest's report."""
    if not names:
        return True
    regex = '^(' + '|'.join(re.escape(n) for n in names) + ')$'
    cmd = ['nice', 'ctest', '--test-dir', build, '-R', regex, '-E', TEST_EXCLUDE,
           '--stop-on-failure', '-j', str(jobs), '--timeout', str(int(timeout))]
    rc, out = run(cmd, timeout=timeout)
    if times is not None:
        for m in re.finditer(r'Test\s+#\d+: (\S+) \.*\s+Passed\s+([\d.]+) sec', out or ''):
            times[m.group(1)] = float(m.group(2))
    return rc == 0


def failing_tests(build, names, timeout, jobs):
    """Every named test that fails (or hangs) on the current build."""
    regex = '^(' + '|'.join(re.escape(n) for n in names) + ')$'
    rc, out = run(['nice', 'ctest', '--test-dir', build, '-R', regex, '-E', TEST_EXCLUDE, '-j', str(jobs),
                   '--timeout', str(int(timeout))], timeout=4 * timeout)
    if rc is None:
        return ['(the whole run hung)']
    return re.findall(r'^\s*\d+ - (\S+) \(', out.split('The following tests FAILED:')[-1], re.M) if rc else []


def groups_of(tests, times):
    """Quick tests grouped by the executable or family that runs them (the prefix up to the
    second dot), so the group that killed the last mutant of a file can go first; the slow ones
    (a second or more) each alone and last, slowest last."""
    groups, slow = {}, []
    for t in tests:
        if times.get(t, 0) >= 1.0:
            slow.append(t)
        else:
            groups.setdefault('.'.join(t.split('.')[:2]), []).append(t)
    for t in sorted(slow, key=lambda t: times[t]):
        groups[t] = [t]
    return groups


def diff_of(path, before, after):
    a = before.split('\n')
    b = after.split('\n')
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return f'{path}:{i + 1}\n  - {x.strip()}\n  + {y.strip()}'
    return f'{path}: (no textual change)'


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('-n', type=int, default=int(os.environ.get('MUTANTS') or 150))
    ap.add_argument('-s', '--seed', type=int, default=int(os.environ.get('MUTANTS_SEED') or 1))
    ap.add_argument('--build', default=os.environ.get('MUTANTS_BUILD') or 'build-mutants')
    ap.add_argument('--jobs', type=int, default=int(os.environ.get('MUTANTS_JOBS') or 2))
    ap.add_argument('--only', help='regex on source paths to mutate')
    ap.add_argument('--list', action='store_true', help='print the mutants and stop')
    ap.add_argument('--matrix', help='run every test on every mutant; write the killers to this file')
    args = ap.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    build = os.path.join(ROOT, args.build)

    sites = all_sites()
    if args.only:
        sites = [s for s in sites if re.search(args.only, s[0])]
    rng = random.Random(args.seed)
    order = list(range(len(sites)))
    rng.shuffle(order)
    print(f'mutants: {len(sites)} sites in {", ".join(FOLDERS)}; seed {args.seed}, {args.n} mutants', flush=True)
    if args.list:
        for k in order[:args.n]:
            path, site = sites[k]
            with open(os.path.join(ROOT, path), encoding='utf-8') as f:
                text = f.read()
            new, note = mutate(text, site, random.Random(args.seed * 1000003 + k))
            print(diff_of(path, text, new), f'({site[0]}: {note})')
        return 0

    configure(build)
    t0 = time.time()
    rc, out = build_all(build, args.jobs)
    if rc != 0:
        sys.exit('mutants: the unmutated sources do not build\n' + out[-4000:])
    tests = list_tests(build)
    t1 = time.time()
    times = {}
    if not run_tests(build, tests, 3600, args.jobs, times):
        sys.exit('mutants: the unmutated sources fail their tests; fix them first')
    base = time.time() - t1
    groups = groups_of(tests, times)
    test_timeout = max(60.0, 3 * base + 10)
    print(f'mutants: {len(tests)} tests pass unmutated in {base:.0f} s '
          f'(built in {t1 - t0:.0f} s); a run longer than {test_timeout:.0f} s kills the mutant', flush=True)

    killed, survived, stillborn = 0, [], 0
    last_killer = {}  # file -> group that killed its last mutant
    tried = 0
    restore = None
    interrupted = False
    try:
        for k in order:
            if killed + len(survived) >= args.n:
                break
            path, site = sites[k]
            full = os.path.join(ROOT, path)
            with open(full, encoding='utf-8') as f:
                original = f.read()
            mutated, note = mutate(original, site, random.Random(args.seed * 1000003 + k))
            if mutated == original:
                continue
            tried += 1
            restore = (full, original)
            with open(full, 'w', encoding='utf-8') as f:
                f.write(mutated)
            try:
                tb = time.time()
                rc, out = build_all(build, args.jobs, timeout=900)
                tb = time.time() - tb
                if rc != 0:
                    stillborn += 1
                    continue
                # The group that killed the last mutant of this file, then of its folder, then the
                # tests named after its folder, then the rest.
                folder = os.path.dirname(path)
                top = folder.split('/')[0] + '.'
                likely = [last_killer.get(path), last_killer.get(folder)]
                likely += [g for g in groups if g.startswith(top)]
                ordered = []
                for g in likely + list(groups):
                    if g in groups and g not in ordered:
                        ordered.append(g)
                dead_in = None
                tt = time.time()
                if args.matrix:
                    killers = failing_tests(build, tests, test_timeout, args.jobs)
                    dead_in = killers[0] if killers else None
                    with open(args.matrix, 'a', encoding='utf-8') as m:
                        m.write(json.dumps({'path': path, 'kind': site[0], 'note': note, 'killers': killers,
                                            'diff': diff_of(path, original, mutated)}) + '\n')
                    ordered = []
                for g in ordered:
                    if not run_tests(build, groups[g], test_timeout, args.jobs):
                        dead_in = g
                        break
                number = killed + len(survived) + 1
                spent = f'(build {tb:.0f} s, tests {time.time() - tt:.0f} s)'
                if dead_in:
                    killed += 1
                    last_killer[path] = last_killer[os.path.dirname(path)] = dead_in
                    print(f'[{number}/{args.n}] killed by {dead_in}: {path} ({site[0]}: {note}) {spent}', flush=True)
                else:
                    d = diff_of(path, original, mutated)
                    survived.append((site[0], note, d))
                    print(f'[{number}/{args.n}] SURVIVED: {d} ({site[0]}: {note}) {spent}', flush=True)
            finally:
                with open(full, 'w', encoding='utf-8') as f:
                    f.write(original)
                restore = None
    except KeyboardInterrupt:
        interrupted = True
    finally:
        if restore:
            with open(restore[0], 'w', encoding='utf-8') as f:
                f.write(restore[1])

    total = killed + len(survived)
    print()
    print(f'mutants: seed {args.seed}: {total} compiled mutants ({stillborn} that did not compile replaced), '
          f'{killed} killed, {len(survived)} survived')
    if total:
        print(f'kill rate: {100.0 * killed / total:.1f} %')
    if survived:
        print('survivors:')
        for kind, note, d in survived:
            print(f'- {kind} ({note}) at {d}')
    print(f'mutants: {time.time() - t0:.0f} s in all', flush=True)
    if interrupted:
        print('mutants: interrupted; every source is restored', file=sys.stderr)
        return 130
    return 0


if __name__ == '__main__':
    sys.exit(main())
