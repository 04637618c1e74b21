#!/usr/bin/env python3
"""Frame pacing under Wine: every mode of the screensaver beside the bare quad paced alike.

Run by scripts/bench pacing, which starts the X display, the Wine server and
a Notepad to host the previews, and exports DISPLAY and WINEPREFIX. For each
mode (the screensaver run, the demonstration full screen and as its 640 x 480
window, the preview in Notepad) the screensaver and bench/bare_quad.cpp in
the same mode run one after the other, REPETITIONS times, in the order AB
then BA. Each figure is the median of a program's repetitions.

- Frames: one line per SwapBuffers on Wine's "wgl" channel, stamped with the
  monotonic clock as it arrives (as bench/whole_run.py does); frames a
  second over the measured window, which starts a settling second after the
  first frame (after the Tab for the window), and the intervals between
  consecutive frames in it: their median and 99th percentile. The stamps
  carry the pipe's own jitter, so the percentile is an upper bound.
- CPU: utime + stime of the Wine process (/proc/PID/stat) over the window,
  a second and a frame.
- The pace: the last "Frames: paced to R a second" line of the program's log
  (screen.log, bare_quad.log), the even rate it keeps; the intervals' median
  over that rate's period, and the share of intervals more than a quarter of
  the period off it.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from whole_run import Run, cpu_seconds, is_wine_process  # noqa: E402

MODES = [
    # name, the screensaver's switches, the bare quad's mode, how the screensaver's run ends
    ("screensaver", ["/s"], "s", "key"),
    ("demonstration, full screen", [], "d", "key"),
    ("demonstration, 640 x 480 window", [], "w", "key"),
    ("preview", ["/p", "HOST"], "p", "kill"),
]


def percentile(values, share):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def stop(run, how):
    if how == "key":
        subprocess.run(["xdotool", "key", "Escape"], check=False)
        try:
            run.process.wait(10)
            return
        except subprocess.TimeoutExpired:
            pass
    run.process.kill()
    run.process.wait(10)


def logged_rate(program, work):
    """The last rate the program's log says its frames are paced to."""
    log = os.path.join(work, "bare_quad.log" if "bare_quad" in program else "screen.log")
    try:
        with open(log, errors="replace") as f:
            rates = re.findall(r"^Frames: paced to ([0-9.]+) a second", f.read(), re.M)
    except OSError:
        rates = []
    return float(rates[-1]) if rates else float("nan")


def measure(program, args, tab, how, opts, env):
    run = Run(opts.wine, program, args, opts.work, env)
    if not run.wait_for_frames(1, opts.start_timeout):
        stop(run, "kill")
        raise SystemExit(f"bench: {program} {args} showed no frame within {opts.start_timeout} s")
    if not is_wine_process(run.process.pid, program):
        stop(run, "kill")
        raise SystemExit(f"bench: pid {run.process.pid} is not the Wine process of {program}")
    if tab:
        time.sleep(0.5)
        subprocess.run(["xdotool", "key", "Tab"], check=False)
    time.sleep(1.0)
    a_time, a_cpu = time.monotonic(), cpu_seconds(run.process.pid)
    time.sleep(opts.seconds)
    b_time, b_cpu = time.monotonic(), cpu_seconds(run.process.pid)
    stamps = [t for t in list(run.swaps) if a_time <= t < b_time]
    stop(run, how)
    window = b_time - a_time
    gaps = [(b - a) * 1000 for a, b in zip(stamps, stamps[1:])]
    paced = logged_rate(program, opts.work)
    period = 1000 / paced
    return {
        "paced": paced,
        "even": statistics.median(gaps) / period if gaps else float("nan"),
        "off": 100 * sum(abs(g - period) > period / 4 for g in gaps) / len(gaps) if gaps else float("nan"),
        "fps": len(stamps) / window,
        "median": statistics.median(gaps) if gaps else float("nan"),
        "p99": percentile(gaps, 0.99),
        "cpu": (b_cpu - a_cpu) / window,
        "cpu_frame": (b_cpu - a_cpu) / len(stamps) * 1000 if stamps else float("nan"),
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine", required=True)
    parser.add_argument("--scr", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--host", required=True, help="the preview host's window handle")
    parser.add_argument("--repetitions", type=int, default=3)
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--start-timeout", type=float, default=60.0)
    opts = parser.parse_args()
    env = dict(os.environ)
    env["WINEDEBUG"] = "-all,+wgl"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="

    results = {}
    for name, switches, bare_mode, how in MODES:
        switches = [opts.host if s == "HOST" else s for s in switches]
        tab = bare_mode == "w"
        limit = str(opts.seconds + 30)
        programs = {
            "screensaver": (opts.scr, switches, tab, how),
            "bare": (opts.bare, [limit, bare_mode] + ([opts.host] if bare_mode == "p" else []), False, "kill"),
        }
        order = list(programs)
        for rep in range(opts.repetitions):
            for program in order if rep % 2 == 0 else reversed(order):
                r = measure(*programs[program], opts, env)
                results.setdefault((name, program), []).append(r)
                print(f"  {name:32s} {program:11s} {rep + 1}/{opts.repetitions} fps {r['fps']:.1f} "
                      f"(paced {r['paced']:g}) median {r['median']:.1f} ms p99 {r['p99']:.1f} ms "
                      f"off {r['off']:.1f} % cpu/s {r['cpu']:.3f} cpu/frame {r['cpu_frame']:.1f} ms", flush=True)

    print(f"\nFrame pacing under Wine, medians of {opts.repetitions} interleaved runs, "
          f"{opts.seconds:g} s measured each (screensaver | bare quad):")
    print(f"{'mode':32s} {'paced to':>13s} {'frames/s':>13s} {'interval median ms':>19s} {'median/period':>13s} "
          f"{'p99 ms':>13s} {'off by 1/4, %':>13s} {'CPU s/s':>13s} {'CPU ms/frame':>13s}")
    for name, *_ in MODES:
        cells = []
        for key, fmt in (("paced", "{:g}"), ("fps", "{:.1f}"), ("median", "{:.1f}"), ("even", "{:.2f}"),
                         ("p99", "{:.1f}"), ("off", "{:.1f}"), ("cpu", "{:.2f}"), ("cpu_frame", "{:.1f}")):
            scr = statistics.median(r[key] for r in results[(name, "screensaver")])
            bare = statistics.median(r[key] for r in results[(name, "bare")])
            cells.append(f"{fmt.format(scr)} | {fmt.format(bare)}")
        print(f"{name:32s} {cells[0]:>13s} {cells[1]:>13s} {cells[2]:>19s} {cells[3]:>13s} {cells[4]:>13s} "
              f"{cells[5]:>13s} {cells[6]:>13s} {cells[7]:>13s}")
    saver = statistics.median(r["cpu"] for r in results[("screensaver", "screensaver")])
    window = statistics.median(r["cpu"] for r in results[("demonstration, 640 x 480 window", "screensaver")])
    print(f"\nthe 640 x 480 window's CPU / the full-screen screensaver's: {window / saver:.2f}")


if __name__ == "__main__":
    sys.exit(main())
