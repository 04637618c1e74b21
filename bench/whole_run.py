#!/usr/bin/env python3
"""Whole-run benchmark under Wine: the screensaver beside the bare program.

Run by scripts/bench, which starts the X display and the Wine prefix and
exports DISPLAY and WINEPREFIX. Each repetition runs both programs, one
after the other on the same display, in the order AB then BA, so that a
change in the machine's load during the run falls on both alike. Every
figure of one program is the median of its repetitions; the ratio is
screensaver / bare.

How each figure is taken, the same way for both programs:
- Frames: Wine's "wgl" debug channel writes one line per SwapBuffers to
  stderr, which is read here as it comes and stamped with the monotonic
  clock. That trace (and nothing else) is on in both runs.
- Start to first frame: from just before the Wine process is started to
  the arrival of its first SwapBuffers line.
- Frames per second: SwapBuffers lines that arrive in the measured window
  (which starts a settling second after the first frame), per second.
- CPU: utime + stime from /proc/PID/stat of the process started here (the
  Wine loader execs into the preloader, so that pid is the Windows process;
  checked before it is read). It counts every thread, llvmpipe's included.
  "CPU / s of run" is the CPU from the start to the end of the measured
  window over that wall time; "steady" is the same over the window alone.
  When the machine is busy both programs get what the scheduler gives and
  their frame rate follows, so CPU per frame (steady CPU over the frames
  of the window) is the figure that tells what a frame costs.
  The Wine server and Xvfb (which receives every frame) are read over the
  window too and given as one extra line: their work is done for the
  program but not counted in its own process.
- Working set: VmRSS and VmHWM from /proc/PID/status at the window's end.
Each run then ends with a left click, which ends both programs.

With --look the screensaver also runs with light on and rain 100 ("lit"),
its settings stored in the registry before each of its runs and the
defaults again before the others', and a last column gives lit / screensaver.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import threading
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15; the split starts at field 3.
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def memory_kib(pid):
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0])
    return values


def is_wine_process(pid, program):
    try:
        exe = os.readlink(f"/proc/{pid}/exe")
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            cmdline = f.read().decode(errors="replace")
    except OSError:
        return False
    return "wine" in os.path.basename(exe) and os.path.basename(program) in cmdline


class Run:
    """One program under Wine with its SwapBuffers lines stamped on arrival,
    and its swap intervals asked (wglSwapIntervalEXT) with theirs."""

    def __init__(self, wine, program, args, work, env):
        self.swaps = []
        # (SwapBuffers lines before it, refreshes a frame is asked to stay),
        # in the order of the trace
        self.swap_intervals = []
        self.program = program
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            [wine, program, *args], cwd=work, env=env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stderr:
            if b"wglSwapBuffers" in line:
                self.swaps.append(time.monotonic())
            elif b"wglSwapIntervalEXT" in line and b"GetSwapInterval" not in line:
                asked = re.search(rb"wglSwapIntervalEXT\D*?(\d+)", line)
                if asked:
                    self.swap_intervals.append((len(self.swaps), int(asked.group(1))))

    def wait_for_frames(self, count, timeout):
        end = time.monotonic() + timeout
        while len(self.swaps) < count:
            if self.process.poll() is not None or time.monotonic() > end:
                return False
            time.sleep(0.01)
        return True

    def frames_between(self, start, end):
        return sum(1 for t in list(self.swaps) if start <= t < end)

    def end(self, timeout):
        """Clicks, waits for the exit; kills the process only if it stays."""
        subprocess.run(["xdotool", "click", "1"], check=False)
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout)
            code = None
        self.reader.join(timeout)
        return code


def measure(name, program, args, opts, env, helpers):
    subprocess.run(["xdotool", "mousemove", str(opts.width // 2), str(opts.height // 2)],
                   check=False)
    run = Run(opts.wine, program, args, opts.work, env)
    if not run.wait_for_frames(1, opts.start_timeout):
        run.end(10)
        raise SystemExit(f"bench: {name} showed no frame within {opts.start_timeout} s")
    if not is_wine_process(run.process.pid, program):
        run.end(10)
        raise SystemExit(f"bench: pid {run.process.pid} is not the Wine process of {name}")
    first = run.swaps[0] - run.started
    # A settling second after the first frame, then the measured window.
    time.sleep(1.0)
    a_time = time.monotonic()
    a_cpu = cpu_seconds(run.process.pid)
    a_helpers = sum(cpu_seconds(pid) for pid in helpers)
    time.sleep(opts.seconds)
    b_cpu = cpu_seconds(run.process.pid)
    b_helpers = sum(cpu_seconds(pid) for pid in helpers)
    b_time = time.monotonic()
    memory = memory_kib(run.process.pid)
    frames = run.frames_between(a_time, b_time)
    code = run.end(10)
    if code != 1:
        raise SystemExit(f"bench: {name} ended with {code} instead of 1 after the click")
    window = b_time - a_time
    return {
        "cpu_run": b_cpu / (b_time - run.started),
        "cpu_steady": (b_cpu - a_cpu) / window,
        "cpu_helpers": (b_helpers - a_helpers) / window,
        "fps": frames / window,
        "cpu_frame": (b_cpu - a_cpu) / frames * 1000 if frames else float("nan"),
        "first": first,
        "rss": memory["VmRSS"] / 1024,
        "hwm": memory["VmHWM"] / 1024,
    }


ROWS = [
    ("cpu_run", "CPU s / s of run", "{:.3f}"),
    ("cpu_steady", "CPU s / s, steady", "{:.3f}"),
    ("fps", "frames / s", "{:.1f}"),
    ("cpu_frame", "CPU ms / frame, steady", "{:.1f}"),
    ("first", "start to first frame, s", "{:.2f}"),
    ("rss", "working set (VmRSS), MiB", "{:.1f}"),
    ("hwm", "peak working set (VmHWM), MiB", "{:.1f}"),
    ("cpu_helpers", "wineserver + Xvfb CPU s / s", "{:.3f}"),
]


SETTINGS_KEY = r"HKLM\Software\Tovarind\Quillmere"


def store_look(wine, env, light, rain):
    for name, value in (("light", light), ("rain", rain)):
        subprocess.run([wine, "reg", "add", SETTINGS_KEY, "/v", name, "/d", value, "/f"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine", required=True)
    parser.add_argument("--scr", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--helpers", default="", help="pids of the Wine server and Xvfb")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=5.0)
    parser.add_argument("--start-timeout", type=float, default=60.0)
    parser.add_argument("--width", type=int, default=1920)
    parser.add_argument("--height", type=int, default=1080)
    parser.add_argument("--look", action="store_true", help="also the screensaver lit, in rain")
    opts = parser.parse_args()
    helpers = [int(p) for p in opts.helpers.split(",") if p]

    env = dict(os.environ)
    env["WINEDEBUG"] = "-all,+wgl"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    programs = {
        "screensaver": (opts.scr, ["/s"]),
        # The bare program's own limit only guards against a lost click.
        "bare": (opts.bare, ["120"]),
    }
    if opts.look:
        programs["lit"] = (opts.scr, ["/s"])
    settings_env = {**env, "WINEDEBUG": "-all"}

    def run_one(name, options):
        lit = name == "lit"
        if opts.look:
            store_look(opts.wine, settings_env, "1" if lit else "0", "100" if lit else "0")
        program, args = programs[name]
        return measure(name, program, args, options, env, helpers)

    # One unmeasured round: the prefix's services start and the files are
    # read from disk before any figure is taken.
    for name in programs:
        run_one(name, argparse.Namespace(**{**vars(opts), "seconds": 0.2}))

    results = {name: [] for name in programs}
    order = list(programs)
    for rep in range(opts.repetitions):
        for name in order if rep % 2 == 0 else reversed(order):
            results[name].append(run_one(name, opts))
            r = results[name][-1]
            print(f"  {rep + 1}/{opts.repetitions} {name:11s} cpu/s {r['cpu_run']:.3f} "
                  f"steady {r['cpu_steady']:.3f} fps {r['fps']:.1f} first {r['first']:.2f} s "
                  f"rss {r['rss']:.1f} MiB", flush=True)

    print(f"\nWhole run under Wine, {opts.width} x {opts.height}, medians of "
          f"{opts.repetitions} interleaved runs, {opts.seconds:g} s measured each:")
    print(f"{'measure':32s} {'screensaver':>12s} {'bare':>10s} {'ratio':>7s}" + (f" {'lit':>10s} {'lit/scr':>7s}" if opts.look else ""))
    for key, label, fmt in ROWS:
        scr = statistics.median(r[key] for r in results["screensaver"])
        bare = statistics.median(r[key] for r in results["bare"])
        ratio = f"{scr / bare:.2f}" if bare > 0 else "-"
        line = f"{label:32s} {fmt.format(scr):>12s} {fmt.format(bare):>10s} {ratio:>7s}"
        if opts.look:
            lit = statistics.median(r[key] for r in results["lit"])
            line += f" {fmt.format(lit):>10s} {(f'{lit / scr:.2f}' if scr > 0 else '-'):>7s}"
        print(line)


if __name__ == "__main__":
    sys.exit(main())
