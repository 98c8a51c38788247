#!/usr/bin/env python3
"""Taps as a new user makes them, under Xvfb: plays a 120 BPM song, presses Insert at known
moments and compares the stored times with the moments of the presses (in sixteenths).

usage: bench/tap_trial.py out/app/varnel-wrd-maker
Needs Xvfb and xdotool. Prints one line per tap and the mean and largest error."""
import os
import struct
import subprocess
import sys
import tempfile
import time


def song(path, seconds=60):
    """Format 0, division 96, 120 BPM, 4/4, a note on every quarter."""
    events = bytearray(b"\x00\xff\x51\x03\x07\xa1\x20" b"\x00\xff\x58\x04\x04\x02\x18\x08")
    for _ in range(seconds * 2):
        events += b"\x00\x90\x3c\x50" + b"\x60\x80\x3c\x00"
    events += b"\x00\xff\x2f\x00"
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96))
        f.write(b"MTrk" + struct.pack(">I", len(events)) + events)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True, env=os.environ)


def counts(project):
    lines = open(project, "rb").read().split(b"\r\n")
    return [int(lines[i + 2]) for i, line in enumerate(lines[:-2]) if line == b"@" and lines[i + 1]]


def trial(program, folder, speed_steps, tap_after):
    midi = os.path.join(folder, "song.mid")
    song(midi)
    project = os.path.join(folder, "song.vwm")
    if os.path.exists(project):
        os.remove(project)
    app = subprocess.Popen([program, midi], env=os.environ)
    try:
        for _ in range(100):
            time.sleep(0.1)
            found = subprocess.run(["xdotool", "search", "--name", "Varnel WRD Maker song"],
                                   capture_output=True, text=True)
            if found.stdout.strip():
                break
        window = found.stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=os.environ)
        xdo("mousemove", "--window", window, "60", "200", "click", "1")  # the event list
        time.sleep(0.5)
        for _ in range(speed_steps):
            xdo("key", "ctrl+Down")
        time.sleep(0.3)
        xdo("key", "space")
        start = time.monotonic()
        pressed = []
        for after in tap_after:
            time.sleep(max(0, start + after - time.monotonic()))
            xdo("key", "Insert")
            pressed.append(time.monotonic() - start)
        time.sleep(0.3)
        xdo("key", "ctrl+s")
        time.sleep(0.5)
        return pressed, counts(project)[1:]  # the first event is the one the open made
    finally:
        app.terminate()
        app.wait()


def main():
    program = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as home:
        os.environ.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                          DISPLAY=":57")
        xvfb = subprocess.Popen(["Xvfb", ":57", "-noreset", "-screen", "0", "1024x768x24"])
        time.sleep(1)
        try:
            for label, steps, taps, sixteenths_per_second in (
                    ("100 %", 0, [1.03, 2.21, 3.37, 4.58], 8), ("50 %", 2, [2.0], 4)):
                pressed, stored = trial(program, home, steps, taps)
                errors = []
                for at, count in zip(pressed, stored):
                    exact = at * sixteenths_per_second
                    errors.append(count - exact)
                    print(f"{label}: pressed {at:.3f} s = {exact:.2f} sixteenths, stored {count}, "
                          f"error {count - exact:+.2f}")
                print(f"{label}: mean error {sum(errors) / len(errors):+.2f}, mean distance "
                      f"{sum(abs(e) for e in errors) / len(errors):.2f}, "
                      f"largest {max(abs(e) for e in errors):.2f} sixteenths")
        finally:
            xvfb.terminate()


if __name__ == "__main__":
    main()
