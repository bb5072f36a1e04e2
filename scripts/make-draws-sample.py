#!/usr/bin/env python3
"""Writes res/demo/draws-sample.txt: a made-up draw history for trying the
draws window, from a fixed seed so that every run writes the same file.
Its first line says that the numbers are not real draws.
  make-draws-sample.py [OUTPUT]"""
import datetime
import os
import sys

SEED = 20240101
FIRST_DAY = datetime.date(2023, 1, 1)
DRAWS = 400


def digits(state):
    """Three digits per draw from a 64-bit LCG (Knuth's MMIX constants):
    the same on every Python, unlike the random module across versions."""
    while True:
        out = []
        for _ in range(3):
            state = (state * 6364136223846793005 + 1442695040888963407) % 2**64
            out.append((state >> 33) % 10)
        yield out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "demo",
                                                               "draws-sample.txt")
    lines = ["随机生成的示例，不是真实开奖号码", "期号 日期 号码"]
    gen = digits(SEED)
    day, year, n = FIRST_DAY, FIRST_DAY.year, 0
    for _ in range(DRAWS):
        if day.year != year:
            year, n = day.year, 0
        n += 1
        d = next(gen)
        lines.append(f"{year}{n:03d} {day.isoformat()} {d[0]}{d[1]}{d[2]}")
        day += datetime.timedelta(days=1)
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
