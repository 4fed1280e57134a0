#!/usr/bin/env python3
"""Runs the window programs several times side by side with their baselines and prints one
table of medians: start-up to the first complete paint, peak resident memory of a
start-paint-exit run, the help window's delay after the first idle moment, the first and
later hovers of the "Mode Settings" circle, and the ring drawing (from ring_bench's JSON).

Usage: figures.py BUILD_DIR [--runs N] [--enters N] [--ring-json FILE]
"""

import argparse
import json
import os
import statistics
import sys
import tempfile
import time

BENCH_PREFIX = "BENCH "
GIVE_UP_SECONDS = 60
RING_PIXELS = 3 * 281 * 81  # three looks of the 281 x 81 circle, as ring_bench counts them


class Run:
    """One finished process: its BENCH values (a list per name) and its peak RSS."""

    def __init__(self, values, max_rss_kib, status):
        self.values = values
        self.max_rss_kib = max_rss_kib
        self.status = status

    def first(self, name):
        found = self.values.get(name)
        return found[0] if found else None


def launch(program, args, env):
    """Starts the program with the launch time in its environment, waits for it and keeps the
    kernel's account of its peak resident memory."""
    with tempfile.TemporaryFile() as out, open(os.devnull, "wb") as null:
        actions = [
            (os.POSIX_SPAWN_DUP2, out.fileno(), 1),
            (os.POSIX_SPAWN_DUP2, null.fileno(), 2),
        ]
        child_env = dict(env)
        # Taken as late as possible: everything after it (exec, loading the libraries) is
        # part of the program's start-up.
        child_env["SETUP_BENCH_LAUNCH_NS"] = str(time.monotonic_ns())
        pid = os.posix_spawn(program, [program] + args, child_env, file_actions=actions)
        deadline = time.monotonic() + GIVE_UP_SECONDS
        while True:
            done, status, usage = os.wait4(pid, os.WNOHANG)
            if done == pid:
                break
            if time.monotonic() > deadline:
                os.kill(pid, 9)
                done, status, usage = os.wait4(pid, 0)
                break
            time.sleep(0.01)
        out.seek(0)
        values = {}
        for line in out.read().decode(errors="replace").splitlines():
            if not line.startswith(BENCH_PREFIX) or "=" not in line:
                continue
            name, value = line[len(BENCH_PREFIX):].split("=", 1)
            try:
                values.setdefault(name, []).append(float(value))
            except ValueError:
                pass
        return Run(values, usage.ru_maxrss, status)


def median(values):
    values = [v for v in values if v is not None and v >= 0]
    return statistics.median(values) if values else None


def ring_figures(path):
    """Processor time per pixel of DrawRing and of the plain reference loop: the median of
    the repetitions where ring_bench wrote aggregates, else the best single run."""
    if not path or not os.path.exists(path):
        return None, None
    with open(path) as f:
        data = json.load(f)
    found = {}
    for entry in data.get("benchmarks", []):
        name = entry.get("run_name", entry.get("name", ""))
        if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") != "median":
            continue
        unit = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}.get(entry.get("time_unit", "ns"), 1.0)
        per_pixel = entry["cpu_time"] * unit / RING_PIXELS
        if entry.get("run_type") == "aggregate" or name not in found:
            found[name] = per_pixel
        else:
            found[name] = min(found[name], per_pixel)
    return found.get("BM_DrawRing"), found.get("BM_ReferenceRing")


def fmt(value, digits):
    return "-" if value is None else f"{value:.{digits}f}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--enters", type=int, default=11, help="enters per hover run (the first creates the popup)")
    parser.add_argument("--ring-json")
    options = parser.parse_args()

    bench = os.path.join(options.build, "bench")
    product = os.path.join(bench, "product_window")
    baseline = os.path.join(bench, "baseline_window")
    for program in (product, baseline):
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} is missing: build the bench programs first")

    env = dict(os.environ)
    platform = env.get("SETUP_BENCH_PLATFORM", "offscreen")
    env["QT_QPA_PLATFORM"] = platform
    env.setdefault("QT_QPA_FONTDIR", "/usr/share/fonts")

    runs = {key: [] for key in ("product", "baseline", "help", "product_hover", "baseline_hover")}
    hover = f"--hover={options.enters}"
    for index in range(options.runs):
        # Alternating the order evens out whatever a shared machine does in between.
        pair = [("product", product, []), ("baseline", baseline, [])]
        for key, program, args in pair if index % 2 == 0 else reversed(pair):
            runs[key].append(launch(program, args, env))
        runs["help"].append(launch(product, ["--help-window"], env))
        runs["product_hover"].append(launch(product, [hover], env))
        runs["baseline_hover"].append(launch(baseline, [hover], env))
        print(f"  run {index + 1} of {options.runs} done", file=sys.stderr)

    failed = [key for key, done in runs.items() for run in done if run.status != 0]

    def per_run(key, name):
        return median([run.first(name) for run in runs[key]])

    def later(key):
        # The median of each run's later enters, then the median over the runs.
        return median([median(run.values.get("hover_later_ms", [])) for run in runs[key]])

    def paired(name):
        # Each product run against the baseline run next to it: on a shared machine the
        # load changes between runs far more than between two neighbours.
        return median([p.first(name) / b.first(name) for p, b in zip(runs["product"], runs["baseline"])
                       if p.first(name) is not None and b.first(name)])

    start_p, start_b = per_run("product", "first_paint_ms"), per_run("baseline", "first_paint_ms")
    cpu_p, cpu_b = per_run("product", "first_paint_cpu_ms"), per_run("baseline", "first_paint_cpu_ms")
    for run in runs["product"] + runs["baseline"]:
        run.values["max_rss_mib"] = [run.max_rss_kib / 1024]
    rss_p, rss_b = per_run("product", "max_rss_mib"), per_run("baseline", "max_rss_mib")
    start_r, cpu_r, rss_r = paired("first_paint_ms"), paired("first_paint_cpu_ms"), paired("max_rss_mib")
    help_p = per_run("help", "help_after_idle_ms")
    build_p = per_run("help", "first_idle_handler_ms")
    first_p, first_b = per_run("product_hover", "hover_first_ms"), per_run("baseline_hover", "hover_first_ms")
    later_p, later_b = later("product_hover"), later("baseline_hover")
    ring_p, ring_b = ring_figures(options.ring_json)

    def ratio(p, b):
        return None if p is None or not b else p / b

    def met(ok):
        return "-" if ok is None else ("yes" if ok else "NO")

    rows = [
        ("Start-up to first complete paint (ms)", start_p, start_b, 1, start_r, "ratio <= 1.2",
         None if start_r is None else start_r <= 1.2),
        ("  processor time until then (ms)", cpu_p, cpu_b, 1, cpu_r, "(for reading the above)", None),
        ("Peak resident memory, start-paint-exit (MiB)", rss_p, rss_b, 1, rss_r, "ratio <= 1.25",
         None if rss_r is None else rss_r <= 1.25),
        ("Help window after first idle moment (ms)", help_p, None, 1, None, "about 100 (reported)", None),
        ("  of which the idle handler building it (ms)", build_p, None, 1, None, "(for reading the above)", None),
        ("First hover, popup created (ms)", first_p, first_b, 2, ratio(first_p, first_b), "<= 16 ms",
         None if first_p is None else first_p <= 16),
        ("Later hover, popup shown again (ms)", later_p, later_b, 2, ratio(later_p, later_b), "< 2 ms",
         None if later_p is None else later_p < 2),
        ("Ring, three looks of 281x81 (ns/pixel, CPU)", ring_p, ring_b, 3, ratio(ring_p, ring_b),
         "ratio < 1 (vs plain loop)", None if ratio(ring_p, ring_b) is None else ratio(ring_p, ring_b) < 1),
    ]

    print()
    print(f"Window figures: Qt platform '{platform}', medians of {options.runs} runs "
          f"({options.enters - 1} later enters per hover run); ratios of start-up and memory are "
          "medians of neighbouring product/baseline pairs")
    print("Baselines: bare Qt window with the same menus and photograph; stock Qt popup; plain ring loop")
    header = ("Figure", "Product", "Baseline", "Ratio", "Target", "Met?")
    widths = (46, 9, 9, 6, 26, 4)
    line = "  ".join(h.ljust(w) for h, w in zip(header, widths))
    print(line)
    print("-" * len(line))
    for name, p, b, digits, r, target, ok in rows:
        cells = (name, fmt(p, digits), fmt(b, digits), fmt(r, 2), target, met(ok))
        print("  ".join(c.ljust(w) for c, w in zip(cells, widths)))
    if failed:
        print(f"Runs that did not end cleanly: {', '.join(sorted(set(failed)))}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
