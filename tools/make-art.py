#!/usr/bin/env python3
"""Regenerates Kartavo's artwork under res/ from scratch.

Run by hand from anywhere: tools/make-art.py. The build uses the committed
files, so this needs only to run when the artwork changes.

Needs python3 (standard library only), ImageMagick 6 (`convert`), the
DejaVu fonts (fonts-dejavu-core) and `rsvg-convert` (Debian package
librsvg2-bin, which the build itself does not need).

Makes:
  res/icons/kartavo-16.png, -32.png, -48.png  from the hand-drawn
      res/icons/kartavo-16.svg (16 px) and res/icons/kartavo.svg (32, 48 px)
  res/images/photo.jpg    320 x 221 sample photograph (lake landscape)
  res/images/default.jpg  578 x 370 meadow with the offline message
  res/images/center.gif   32 x 32 crosshair

The scenes are drawn as SVG with a fixed random seed, so every run gives
the same pictures.
"""

import math
import os
import random
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICONS = os.path.join(ROOT, "res", "icons")
IMAGES = os.path.join(ROOT, "res", "images")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

OFFLINE_LINES = ("Check if network is online", "and run this application again.")


def run(*args):
    subprocess.run(args, check=True)


def render_svg(svg_text, png_path, width, height):
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False) as f:
        f.write(svg_text)
        svg_path = f.name
    try:
        run("rsvg-convert", "-w", str(width), "-h", str(height), svg_path, "-o", png_path)
    finally:
        os.unlink(svg_path)


def ridge(rng, x0, x1, y, roughness, steps=7):
    """A mountain or hill skyline by midpoint displacement, as (x, y) points."""
    pts = [y + rng.uniform(-roughness, roughness), y + rng.uniform(-roughness, roughness)]
    amp = roughness
    for _ in range(steps):
        nxt = []
        for a, b in zip(pts, pts[1:]):
            nxt += [a, (a + b) / 2 + rng.uniform(-amp, amp)]
        nxt.append(pts[-1])
        pts = nxt
        amp *= 0.55
    n = len(pts) - 1
    return [(x0 + (x1 - x0) * i / n, p) for i, p in enumerate(pts)]


def area_below(points, bottom):
    d = "M%.1f %.1f " % (points[0][0], bottom)
    d += " ".join("L%.1f %.1f" % p for p in points)
    d += " L%.1f %.1f Z" % (points[-1][0], bottom)
    return d


def pine(x, base, h, colour):
    """A fir tree of three stacked triangles with a short trunk."""
    w = h * 0.42
    parts = ['<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="#3b2a1c"/>'
             % (x - w * 0.06, base - h * 0.12, w * 0.12, h * 0.12)]
    for i in range(3):
        top = base - h + i * h * 0.22
        bot = base - h * 0.1 - (2 - i) * h * 0.18
        half = w * (0.55 + i * 0.22) / 2
        parts.append('<path d="M%.1f %.1f L%.1f %.1f L%.1f %.1f Z" fill="%s"/>'
                     % (x, top, x - half, bot, x + half, bot, colour))
    return "".join(parts)


def photo_svg():
    """Evening lake under mountains, 320 x 221."""
    rng = random.Random(20240611)
    W, H = 320, 221
    horizon = 128
    sun_x, sun_y = 224, 89
    far = ridge(rng, -5, W + 5, 84, 30)
    mid = ridge(rng, -5, W + 5, 116, 10)
    s = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
         % (W, H, W, H)]
    s.append("""
<defs>
  <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#2f5f9e"/>
    <stop offset="0.55" stop-color="#8fb5d8"/>
    <stop offset="0.85" stop-color="#f3cfa5"/>
    <stop offset="1" stop-color="#f7b98a"/>
  </linearGradient>
  <linearGradient id="lake" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#e9c29c"/>
    <stop offset="0.25" stop-color="#9db6cf"/>
    <stop offset="1" stop-color="#2e5683"/>
  </linearGradient>
  <linearGradient id="far" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#7d86ad"/>
    <stop offset="1" stop-color="#a9a6bf"/>
  </linearGradient>
  <linearGradient id="mid" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#4f7352"/>
    <stop offset="1" stop-color="#35563d"/>
  </linearGradient>
  <linearGradient id="shore" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#3f6b2f"/>
    <stop offset="1" stop-color="#1f3a1a"/>
  </linearGradient>
  <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0" stop-color="#fff3d0" stop-opacity="0.95"/>
    <stop offset="0.3" stop-color="#ffe0a8" stop-opacity="0.5"/>
    <stop offset="1" stop-color="#ffd090" stop-opacity="0"/>
  </radialGradient>
  <filter id="soft" x="-50%%" y="-50%%" width="200%%" height="200%%">
    <feGaussianBlur stdDeviation="4"/>
  </filter>
  <filter id="haze"><feGaussianBlur stdDeviation="0.7"/></filter>
  <clipPath id="water"><rect x="0" y="%d" width="%d" height="%d"/></clipPath>
</defs>
""" % (horizon, W, H - horizon))
    s.append('<rect width="%d" height="%d" fill="url(#sky)"/>' % (W, horizon + 2))
    s.append('<circle cx="%d" cy="%d" r="70" fill="url(#glow)"/>' % (sun_x, sun_y))
    s.append('<circle cx="%d" cy="%d" r="11" fill="#fff8e6"/>' % (sun_x, sun_y))
    # a few soft clouds
    for cx, cy, rx, ry, op in ((60, 34, 46, 9, 0.55), (112, 22, 30, 6, 0.45),
                               (270, 40, 38, 7, 0.5), (180, 62, 52, 6, 0.35)):
        s.append('<ellipse cx="%d" cy="%d" rx="%d" ry="%d" fill="#ffffff" opacity="%.2f" '
                 'filter="url(#soft)"/>' % (cx, cy, rx, ry, op))
    hills = ('<path d="%s" fill="url(#far)" filter="url(#haze)"/>' % area_below(far, horizon + 1) +
             '<path d="%s" fill="url(#mid)"/>' % area_below(mid, horizon + 1))
    s.append(hills)
    # the lake, then the hills mirrored in it
    s.append('<rect x="0" y="%d" width="%d" height="%d" fill="url(#lake)"/>'
             % (horizon, W, H - horizon))
    s.append('<g clip-path="url(#water)" opacity="0.45" filter="url(#haze)">'
             '<g transform="translate(0 %d) scale(1 -1)">%s</g></g>'
             % (2 * horizon, hills))
    # sun glitter on the water
    for i in range(14):
        y = horizon + 4 + i * 3.4 + rng.uniform(-0.8, 0.8)
        w = 6 + i * 1.6 + rng.uniform(0, 6)
        s.append('<rect x="%.1f" y="%.1f" width="%.1f" height="1.1" rx="0.5" fill="#fff1d2" '
                 'opacity="%.2f"/>' % (sun_x - w / 2 + rng.uniform(-3, 3), y, w,
                                       0.75 - i * 0.04))
    # ripples
    for _ in range(40):
        y = rng.uniform(horizon + 10, H - 30)
        w = rng.uniform(8, 30) * (y - horizon) / 60
        s.append('<rect x="%.1f" y="%.1f" width="%.1f" height="0.8" fill="#ffffff" '
                 'opacity="0.18"/>' % (rng.uniform(-10, W), y, w))
    # near shore with firs on the left
    shore = ridge(rng, -5, W + 5, 198, 6, 6)
    shore = [(x, y - 26 * math.exp(-((x - 20) / 70) ** 2)) for x, y in shore]
    s.append('<path d="%s" fill="url(#shore)"/>' % area_below(shore, H))
    for x, base, h in ((14, 182, 58), (34, 186, 46), (52, 190, 36), (-2, 180, 70),
                       (70, 194, 24), (300, 200, 22), (312, 199, 30)):
        s.append(pine(x, base, h, "#1d3b22"))
    for _ in range(90):  # grass blades along the shore
        x = rng.uniform(0, W)
        base = min(y for px, y in shore if abs(px - x) < 4) + rng.uniform(2, 20)
        s.append('<path d="M%.1f %.1f q%.1f %.1f %.1f %.1f" stroke="#4d7a37" stroke-width="0.8" '
                 'fill="none" opacity="0.8"/>'
                 % (x, base, rng.uniform(-2, 2), -4, rng.uniform(-3, 3), -rng.uniform(5, 10)))
    s.append("</svg>")
    return "\n".join(s)


def flower(rng, x, y, r, colour):
    """A five-petal flower on a stem; y is the flower head's centre."""
    petals = 5 if rng.random() < 0.7 else 6
    turn = rng.uniform(0, 360)
    out = ['<path d="M%.1f %.1f q%.1f %.1f %.1f %.1f" stroke="#4f8a3c" stroke-width="%.1f" '
           'fill="none"/>' % (x, y, rng.uniform(-r, r), r * 3, rng.uniform(-r, r), r * 6,
                              max(0.8, r * 0.16))]
    for i in range(petals):
        a = turn + i * 360 / petals
        out.append('<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="%.1f" fill="%s" '
                   'transform="rotate(%.1f %.1f %.1f)"/>'
                   % (x + r * 0.55, y, r * 0.6, r * 0.33, colour, a, x, y))
    out.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#f6c445"/>' % (x, y, r * 0.28))
    out.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#d08a1e" opacity="0.6"/>'
               % (x + r * 0.06, y + r * 0.06, r * 0.14))
    return "".join(out)


def default_svg():
    """A soft spring meadow, 578 x 370, with room for two lines in the middle."""
    rng = random.Random(578370)
    W, H = 578, 370
    s = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
         % (W, H, W, H)]
    s.append("""
<defs>
  <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#8ec3ea"/>
    <stop offset="1" stop-color="#e6f2f7"/>
  </linearGradient>
  <linearGradient id="meadow" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#9ccb6e"/>
    <stop offset="1" stop-color="#5e9c44"/>
  </linearGradient>
  <filter id="far"><feGaussianBlur stdDeviation="2.2"/></filter>
  <filter id="mid"><feGaussianBlur stdDeviation="1.0"/></filter>
  <filter id="cloud" x="-50%" y="-50%" width="200%" height="200%">
    <feGaussianBlur stdDeviation="8"/>
  </filter>
</defs>
""")
    s.append('<rect width="%d" height="%d" fill="url(#sky)"/>' % (W, H))
    for cx, cy, rx, ry in ((90, 50, 80, 16), (170, 38, 50, 12), (430, 60, 90, 15),
                           (520, 36, 50, 10)):
        s.append('<ellipse cx="%d" cy="%d" rx="%d" ry="%d" fill="#ffffff" opacity="0.75" '
                 'filter="url(#cloud)"/>' % (cx, cy, rx, ry))
    far = ridge(rng, -5, W + 5, 150, 18)
    near = ridge(rng, -5, W + 5, 190, 14)
    s.append('<path d="%s" fill="#a8c7a0" filter="url(#far)"/>' % area_below(far, H))
    s.append('<path d="%s" fill="url(#meadow)" filter="url(#mid)"/>' % area_below(near, H))
    colours = ("#f7f7f2", "#f4a6c0", "#e86a8e", "#b98be0", "#fbe27a", "#ffffff", "#f59a6b")
    blooms = []
    # distant blossoms: small blurred dots across the meadow
    s.append('<g filter="url(#far)">')
    for _ in range(260):
        x, y = rng.uniform(0, W), rng.uniform(200, 260)
        s.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s" opacity="0.85"/>'
                 % (x, y, rng.uniform(1.2, 2.4), rng.choice(colours)))
    s.append("</g>")
    # nearer flowers, growing with nearness; few in the middle band so the
    # message stays readable
    for _ in range(150):
        y = rng.uniform(250, H + 10)
        x = rng.uniform(-10, W + 10)
        blooms.append((y, x))
    blooms.sort()
    s.append('<g filter="url(#mid)">')
    for y, x in blooms[:70]:
        s.append(flower(rng, x, y, 3 + (y - 250) * 0.05, rng.choice(colours)))
    s.append("</g>")
    for y, x in blooms[70:]:
        s.append(flower(rng, x, y, 5 + (y - 250) * 0.11, rng.choice(colours)))
    # a translucent card behind the message
    s.append('<rect x="74" y="128" width="430" height="96" rx="14" fill="#ffffff" '
             'opacity="0.78"/>')
    s.append("</svg>")
    return "\n".join(s)


def make_icons():
    render_svg(open(os.path.join(ICONS, "kartavo-16.svg")).read(),
               os.path.join(ICONS, "kartavo-16.png"), 16, 16)
    big = open(os.path.join(ICONS, "kartavo.svg")).read()
    for size in (32, 48):
        render_svg(big, os.path.join(ICONS, "kartavo-%d.png" % size), size, size)


def to_jpeg(png, jpg, quality, noise):
    # a little grain so the flat shapes read as a photograph
    run("convert", png, "-seed", "7", "-attenuate", str(noise), "+noise", "Gaussian",
        "-strip", "-sampling-factor", "4:2:0", "-interlace", "none",
        "-quality", str(quality), jpg)


def make_photo(tmp):
    png = os.path.join(tmp, "photo.png")
    render_svg(photo_svg(), png, 320, 221)
    to_jpeg(png, os.path.join(IMAGES, "photo.jpg"), 88, 0.25)


def make_default(tmp):
    png = os.path.join(tmp, "default.png")
    render_svg(default_svg(), png, 578, 370)
    text = os.path.join(tmp, "default-text.png")
    run("convert", png, "-font", FONT, "-pointsize", "26", "-fill", "#22303c",
        "-gravity", "center",
        "-annotate", "+0-17", OFFLINE_LINES[0],
        "-annotate", "+0+19", OFFLINE_LINES[1], text)
    to_jpeg(text, os.path.join(IMAGES, "default.jpg"), 88, 0.2)


def make_center():
    # pixel-exact lines, no antialiasing: GIF has only on/off transparency
    run("convert", "-size", "32x32", "xc:none", "+antialias",
        "-fill", "white", "-stroke", "none",
        "-draw", "rectangle 14,1 17,12", "-draw", "rectangle 14,19 17,30",
        "-draw", "rectangle 1,14 12,17", "-draw", "rectangle 19,14 30,17",
        "-draw", "rectangle 14,14 17,17",
        "-fill", "#d7261e",
        "-draw", "rectangle 15,2 16,11", "-draw", "rectangle 15,20 16,29",
        "-draw", "rectangle 2,15 11,16", "-draw", "rectangle 20,15 29,16",
        "-draw", "rectangle 15,15 16,16",
        os.path.join(IMAGES, "center.gif"))


def main():
    os.makedirs(IMAGES, exist_ok=True)
    make_icons()
    with tempfile.TemporaryDirectory() as tmp:
        make_photo(tmp)
        make_default(tmp)
    make_center()
    return 0


if __name__ == "__main__":
    sys.exit(main())
