#!/usr/bin/env python3
"""Turns bench/compare.sh's measurements into the tables of bench/README.md and
the ratio chart bench/compare.svg.
  compare_report.py RESULTS.tsv RUNS DATE MACHINE README SVG
README and SVG "-": the tables go to standard output, nothing is written."""
import collections
import sys

BEGIN, END = "<!-- compare.sh: begin -->", "<!-- compare.sh: end -->"


def load(path):
    rows = []
    with open(path) as f:
        for line in f:
            kind, task, size, tool, ms, bytes_, start, fmt, psnr = line.rstrip("\n").split("\t")
            rows.append(dict(kind=kind, task=task, size=size, tool=tool, ms=float(ms),
                             bytes=int(bytes_), start=float(start), fmt=fmt,
                             psnr=None if psnr in ("", "-") else float(psnr)))
    return rows


def num(n):
    return f"{n:,}".replace(",", " ")


def db(psnr):
    return "–" if psnr is None else f"{psnr:.2f}"


def picture_table(rows, ratios):
    out = ["| fixture | format | ours ms | ours bytes | ours PSNR dB | peer | peer ms (start) | peer bytes "
           "| peer PSNR dB | time ours/peer | bytes ours/peer |",
           "|---|---|---:|---:|---:|---|---:|---:|---:|---:|---:|"]
    ours = {(r["task"], r["fmt"]): r for r in rows if r["kind"] == "picture" and r["tool"] == "ours"}
    for r in rows:
        if r["kind"] != "picture" or r["tool"] == "ours":
            continue
        o = ours.get((r["task"], r["fmt"]))
        if not o:
            continue
        t, b = o["ms"] / r["ms"], o["bytes"] / r["bytes"]
        ratios.append((f'{r["fmt"]} {r["task"]} / {r["tool"]}', t))
        out.append(f'| {r["task"]} | {r["fmt"]} | {o["ms"]:.1f} | {num(o["bytes"])} | {db(o["psnr"])} '
                   f'| {r["tool"]} | {r["ms"]:.1f} ({r["start"]:.1f}) | {num(r["bytes"])} | {db(r["psnr"])} '
                   f'| {t:.2f} | {b:.3f} |')
    return out


def screen_table(rows, ratios):
    out = ["| task | screen | ours ms | peer | peer ms (start) | ours/peer |",
           "|---|---|---:|---|---:|---:|"]
    by_size = collections.defaultdict(list)
    for r in rows:
        if r["kind"] == "screen":
            by_size[r["size"]].append(r)
    for size, rs in by_size.items():
        ours = {r["task"]: r for r in rs if r["tool"] == "ours"}
        peers = [r for r in rs if r["tool"] != "ours"]
        for task in ("grab", "whole-screen path", "overlay"):
            o = ours.get(task)
            if not o:
                continue
            if task == "overlay":
                out.append(f"| {task} | {size} | {o['ms']:.1f} | – | – | – |")
                continue
            for p in peers:
                if task == "whole-screen path" and (p["tool"], p["fmt"]) != ("scrot", "bmp"):
                    continue
                t = o["ms"] / p["ms"]
                ratios.append((f"{task} {size} / {p['tool']}", t))
                out.append(f"| {task} | {size} | {o['ms']:.1f} | {p['tool']} to {p['fmt'].upper()} "
                           f"| {p['ms']:.1f} ({p['start']:.1f}) | {t:.2f} |")
    return out


def memory_table(rows):
    out = ["| screen | resident before the first capture MB | after the first MB | after 200 MB |",
           "|---|---:|---:|---:|"]
    for r in rows:
        if r["kind"] == "memory":
            out.append(f'| {r["size"]} | {r["start"]:.0f} | {r["bytes"]} | {r["ms"]:.0f} |')
    return out


def chart(ratios):
    bar_h, left, width = 18, 300, 420
    top = max([r for _, r in ratios] + [1.0]) * 1.05
    h = bar_h * len(ratios) + 40
    x = lambda v: left + v / top * width
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{left + width + 60}" height="{h}" '
             'font-family="sans-serif" font-size="11">',
             f'<text x="{left}" y="12">time, ours / peer (below 1: ours is faster)</text>']
    for i, (label, r) in enumerate(ratios):
        y = 20 + i * bar_h
        colour = "#3a7d44" if r <= 1 else "#b5442f"
        parts.append(f'<text x="{left - 6}" y="{y + 12}" text-anchor="end">{label}</text>')
        parts.append(f'<rect x="{left}" y="{y + 2}" width="{x(r) - left:.1f}" height="{bar_h - 5}" '
                     f'fill="{colour}"/>')
        parts.append(f'<text x="{x(r) + 4:.1f}" y="{y + 12}">{r:.2f}</text>')
    parts.append(f'<line x1="{x(1):.1f}" y1="16" x2="{x(1):.1f}" y2="{h - 10}" stroke="#000" '
                 'stroke-dasharray="3,3"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    results, runs, date, machine, readme, svg = sys.argv[1:7]
    rows = load(results)
    ratios = []
    section = [BEGIN, "",
               f"Measured {date} by `bench/compare.sh` in one run, medians of {runs}; {machine}.",
               "Ours are in-process Google Benchmark medians (`convimage_bench`: BMP file to "
               "written file; `screengrab_bench`, `wholescreen_bench`, `overlay_bench` on the "
               "script's Xvfb); the peers are whole processes, their start-up (a `--version` "
               "run) in brackets. Ratios are against the peer's whole time. PSNR over R, G and B "
               "against the source, for the lossy formats (99: identical).", "",
               "### Picture writers against ImageMagick `convert` and `gifsicle -O3`", ""]
    section += picture_table(rows, ratios)
    section += ["", "### Grab, whole-screen path and overlay against scrot, maim and import", ""]
    section += screen_table(rows, ratios)
    section += ["", "### Resident memory of 200 whole-screen captures in the list", ""]
    section += memory_table(rows)
    section += ["", "![time ratios, ours to each peer](compare.svg)", "", END]
    block = "\n".join(section)
    if readme == "-":
        print(block)
        return
    with open(svg, "w") as f:
        f.write(chart(ratios))
    text = open(readme).read()
    if BEGIN in text and END in text:
        text = text[:text.index(BEGIN)] + block + text[text.index(END) + len(END):]
    else:
        text = text.rstrip("\n") + "\n\n## Beside the peers (`compare.sh`)\n\n" + block + "\n"
    with open(readme, "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
