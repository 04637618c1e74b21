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
  second over the measured span, and the intervals between consecutive
  frames in it: their median and 99th percentile. The stamps
  carry the pipe's own jitter, so the percentile is an upper bound.
- CPU: utime + stime of the Wine process (/proc/PID/stat) over the window,
  a second and a frame.
- The pace: the k asked (the trace's wglSwapIntervalEXT) at the window's
  end over the refresh the log names ("Frames: paced to R a second (display
  F Hz", screen.log or bare_quad.log), which must be a rate the log named;
  the intervals' median over its period, and the share of intervals more
  than a quarter of the period off it. Where k changed in the window, the
  intervals before the change count as off by that, so the share is also
  given against the k asked when each frame was swapped, with the changes
  of k in the window.
- The window's measured span starts a settling second after its first frame
  (for the 640 x 480 window, after the first frame it swaps once the Tab
  made it, a second or two on).
"""

import argparse
import math
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


def wait_for(state, timeout):
    end = time.monotonic() + timeout
    while not state():
        if time.monotonic() > end:
            return False
        time.sleep(0.01)
    return True


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


def logged_paces(program, work):
    """Each "Frames: paced to" line of the program's log: the rate and its display's refresh."""
    log = os.path.join(work, "bare_quad.log" if "bare_quad" in program else "screen.log")
    try:
        with open(log, errors="replace") as f:
            paces = re.findall(r"^Frames: paced to ([0-9.]+) a second \(display ([0-9.]+) Hz", f.read(), re.M)
    except OSError:
        paces = []
    return [(float(rate), float(refresh)) for rate, refresh in paces]


def asked_periods(run, first, count, refresh):
    """For each of the swaps first+1 .. first+count-1, the period (ms) of the k asked when it was swapped."""
    asked = list(run.swap_intervals)
    periods, k, j = [], None, 0
    for i in range(first + 1, first + count):
        while j < len(asked) and asked[j][0] <= i:
            k = asked[j][1]
            j += 1
        periods.append(1000 * k / refresh if k else float("nan"))
    return periods


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
        asked = len(run.swap_intervals)
        subprocess.run(["xdotool", "key", "Tab"], check=False)
        # The window's frames start with their own swap interval asked, a
        # second or two after the Tab: the settling second counts from there.
        if not wait_for(lambda: len(run.swap_intervals) > asked and len(run.swaps) > run.swap_intervals[asked][0],
                        opts.start_timeout):
            stop(run, "kill")
            raise SystemExit(f"bench: {program} {args} showed no window frame within {opts.start_timeout} s of the Tab")
    time.sleep(1.0)
    a_time, a_cpu = time.monotonic(), cpu_seconds(run.process.pid)
    time.sleep(opts.seconds)
    b_time, b_cpu = time.monotonic(), cpu_seconds(run.process.pid)
    swaps = list(run.swaps)
    first = next((i for i, t in enumerate(swaps) if t >= a_time), len(swaps))
    stamps = [t for t in swaps[first:] if t < b_time]
    stop(run, how)
    window = b_time - a_time
    gaps = [(b - a) * 1000 for a, b in zip(stamps, stamps[1:])]
    paces = logged_paces(program, opts.work)
    logged, refresh = paces[-1] if paces else (float("nan"), float("nan"))
    then = asked_periods(run, first, len(stamps), refresh)
    # The rate in force at the window's end; a change of k after it (as the
    # program stops) would leave the log's last line naming another.
    period = then[-1] if then and not math.isnan(then[-1]) else 1000 / logged
    paced = 1000 / period
    if not any(abs(paced - rate) < 0.01 for rate, _ in paces):
        print(f"bench: {program} ran at {paced:g} a second, which its log never named", flush=True)
    known = [p for p in then if not math.isnan(p)]
    return {
        "paced": paced,
        "even": statistics.median(gaps) / period if gaps else float("nan"),
        "off": 100 * sum(abs(g - period) > period / 4 for g in gaps) / len(gaps) if gaps else float("nan"),
        "off_then": 100 * sum(abs(g - p) > p / 4 for g, p in zip(gaps, then)) / len(gaps) if gaps else float("nan"),
        "k_changes": sum(1 for p, q in zip(known, known[1:]) if p != q) if known else float("nan"),
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
                      f"off {r['off']:.1f} % (of k then {r['off_then']:.1f} %, k changed {r['k_changes']:g}) cpu/s {r['cpu']:.3f} cpu/frame {r['cpu_frame']:.1f} ms", flush=True)

    print(f"\nFrame pacing under Wine, medians of {opts.repetitions} interleaved runs, "
          f"{opts.seconds:g} s measured each (screensaver | bare quad):")
    print(f"{'mode':32s} {'paced to':>13s} {'frames/s':>13s} {'interval median ms':>19s} {'median/period':>13s} "
          f"{'p99 ms':>13s} {'off by 1/4, %':>13s} {'of k then, %':>13s} {'k changes':>13s} {'CPU s/s':>13s} "
          f"{'CPU ms/frame':>13s}")
    for name, *_ in MODES:
        cells = []
        for key, fmt in (("paced", "{:g}"), ("fps", "{:.1f}"), ("median", "{:.1f}"), ("even", "{:.2f}"),
                         ("p99", "{:.1f}"), ("off", "{:.1f}"), ("off_then", "{:.1f}"), ("k_changes", "{:g}"),
                         ("cpu", "{:.2f}"), ("cpu_frame", "{:.1f}")):
            scr = statistics.median(r[key] for r in results[(name, "screensaver")])
            bare = statistics.median(r[key] for r in results[(name, "bare")])
            cells.append(f"{fmt.format(scr)} | {fmt.format(bare)}")
        print(f"{name:32s} {cells[0]:>13s} {cells[1]:>13s} {cells[2]:>19s} "
              + " ".join(f"{c:>13s}" for c in cells[3:]))
    saver = statistics.median(r["cpu"] for r in results[("screensaver", "screensaver")])
    window = statistics.median(r["cpu"] for r in results[("demonstration, 640 x 480 window", "screensaver")])
    print(f"\nthe 640 x 480 window's CPU / the full-screen screensaver's: {window / saver:.2f}")


if __name__ == "__main__":
    sys.exit(main())
