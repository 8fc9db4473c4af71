"""The sounds of paint.exe, synthesised: filtered noise, glides, FM bells and envelopes.

Sounds that a tool loops from press to release are built circularly (noise filtered in the frequency
domain, tones with a whole number of periods, modulations with a whole number of cycles), so the last
sample runs on into the first without a click; each loop is then turned to start on a rising zero
crossing."""
import numpy as np

from common import Entry

RATE = 22050
TAU = 2 * np.pi


# ------------------------------------------------------------------ building blocks

def t_axis(secs):
    return np.arange(int(round(secs * RATE))) / RATE


def noise(n):
    return np.random.uniform(-1.0, 1.0, n)


def band(x, lo=None, hi=None, order=2):
    """Band-limit a signal in the frequency domain (circular, so loops stay seamless)."""
    n = len(x)
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    h = np.ones_like(f)
    with np.errstate(divide="ignore"):
        if lo:
            h *= 1.0 / np.sqrt(1.0 + (lo / np.maximum(f, 1e-6)) ** (2 * order))
        if hi:
            h *= 1.0 / np.sqrt(1.0 + (f / hi) ** (2 * order))
    return np.fft.irfft(np.fft.rfft(x) * h, n)


def resonate(x, freqs, q=30.0):
    """Add resonant peaks (a metal or wood body) to a signal, circularly."""
    n = len(x)
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    h = np.zeros_like(f)
    for fc in freqs:
        bw = fc / q
        h += 1.0 / (1.0 + ((f - fc) / bw) ** 2)
    return np.fft.irfft(np.fft.rfft(x) * h, n)


def whole(freq, n):
    """The nearest frequency with a whole number of periods in n samples."""
    return max(1, round(freq * n / RATE)) * RATE / n


def decay(t, tau):
    return np.exp(-t / tau)


def fade(x, a=0.004, b=0.01):
    """Short fades at both ends of a one-shot sound."""
    x = x.copy()
    na, nb = int(a * RATE), int(b * RATE)
    if na:
        x[:na] *= np.linspace(0, 1, na) ** 2
    if nb:
        x[-nb:] *= np.linspace(1, 0, nb) ** 2
    return x


def glide(t, f0, f1, curve=1.0):
    """Phase of a tone gliding from f0 to f1 over t (exponential when curve == 'exp')."""
    T = t[-1] if len(t) > 1 else 1.0
    if curve == "exp":
        f = f0 * (f1 / f0) ** (t / T)
    else:
        f = f0 + (f1 - f0) * (t / T) ** curve
    return TAU * np.cumsum(f) / RATE


def bloop(t, f0, f1, tau, attack):
    """A sine sweeping exponentially from f0 to f1, rising over attack seconds and dying away with tau."""
    return np.sin(glide(t, f0, f1, "exp")) * decay(t, tau) * (1 - decay(t, attack))


def ping(t, freq, tau, start=0.0, ratio=1.0, index=0.0):
    """A struck tone (optionally FM, for bells) starting at 'start' seconds."""
    tt = np.clip(t - start, 0, None)
    on = (t >= start).astype(float)
    mod = index * np.exp(-tt / (tau * 0.6)) * np.sin(TAU * freq * ratio * tt)
    return on * np.exp(-tt / tau) * np.sin(TAU * freq * tt + mod)


def circ_events(n, times, shape):
    """Place copies of a short shape at the given sample positions, wrapping around the end."""
    out = np.zeros(n)
    for p in times:
        idx = (int(p) + np.arange(len(shape))) % n
        np.add.at(out, idx, shape)
    return out


def periodic_env(n, cycles, sharp=1.0, floor=0.0):
    """A smooth envelope with a whole number of swells over n samples."""
    ph = np.arange(n) / n * cycles
    e = 0.5 - 0.5 * np.cos(TAU * ph)
    return floor + (1 - floor) * e ** sharp


def smooth_random(n, cycles, amount):
    """Slow circular wobble: random Fourier series with whole-number frequencies."""
    out = np.zeros(n)
    ph = np.arange(n) / n
    for k in range(1, cycles + 1):
        out += np.random.uniform(-1, 1) / k * np.sin(TAU * k * ph + np.random.uniform(0, TAU))
    out /= np.max(np.abs(out)) + 1e-9
    return 1.0 + amount * out


def as_loop(x):
    """Start the loop at a rising zero crossing where the signal is quiet; the sequence stays circular."""
    x = x - x.mean()
    env = np.abs(band(x, hi=300))
    s = np.sign(x)
    rising = np.where((s[:-1] < 0) & (s[1:] >= 0))[0] + 1
    if len(rising):
        cost = np.abs(x[rising]) + np.abs(x[rising - 1]) + 0.5 * env[rising]
        x = np.roll(x, -rising[np.argmin(cost)])
    return x


def one_shot(x):
    return fade(x - x.mean())


def firm(x, drive=3.0):
    """Soft-limit the peaks of a clicky sound so that it is as loud as the others without clipping."""
    p = np.max(np.abs(x)) + 1e-12
    return np.tanh(drive * x / p)


# ------------------------------------------------------------------ the tools' loops

def pencil():
    n = int(0.84 * RATE)
    grit = band(noise(n), 1800, 6500)
    clicks = circ_events(n, np.random.randint(0, n, 90), np.random.uniform(-1, 1, 12) * np.exp(-np.arange(12) / 3))
    grain = band(clicks, 2500, 8000)
    strokes = periodic_env(n, 6, 1.6, 0.15) * smooth_random(n, 5, 0.25)
    return as_loop(strokes * (grit + 1.6 * grain)), RATE, True


def brush():
    n = int(1.1 * RATE)
    body = band(noise(n), 250, 2600)
    air = band(noise(n), 3000, 7000) * 0.25
    strokes = periodic_env(n, 3, 1.3, 0.08) * smooth_random(n, 4, 0.2)
    return as_loop(strokes * (body + air)), RATE, True


def crayon():
    n = int(0.96 * RATE)
    wax = band(noise(n), 500, 3200, 3)
    chatter = 0.5 + 0.5 * np.sign(np.sin(TAU * whole(38, n) * np.arange(n) / RATE)) * 0.6
    chatter = band(chatter, hi=400)
    strokes = periodic_env(n, 5, 1.2, 0.2)
    return as_loop(strokes * chatter * wax), RATE, True


def spray():
    n = int(0.8 * RATE)
    hiss = band(noise(n), 3000, 9500, 3)
    flutter = smooth_random(n, 12, 0.12)
    return as_loop(hiss * flutter), RATE, True


def wand():
    n = int(1.2 * RATE)
    t = np.arange(n) / RATE
    out = np.zeros(n)
    notes = [1568, 1760, 2093, 2349, 2637, 3136, 3520]
    for i in range(16):
        f = whole(np.random.choice(notes), n)
        shape = ping(np.arange(int(0.35 * RATE)) / RATE, f, 0.07, ratio=1.41, index=1.2)
        out += circ_events(n, [np.random.randint(0, n)], shape * np.random.uniform(0.4, 1.0))
    shimmer = sum(np.sin(TAU * whole(f, n) * t) for f in (1046.5, 1318.5, 1568.0)) / 3
    shimmer *= 0.12 * periodic_env(n, 4, 1.0, 0.3)
    return as_loop(out + shimmer), RATE, True


def needle():
    n = int(1.0 * RATE)
    t = np.arange(n) / RATE
    tick = band(noise(220), 2500, 7000) * np.exp(-np.arange(220) / 30)
    out = circ_events(n, [k * n / 4 for k in range(4)], tick)
    out += 0.5 * circ_events(n, [k * n / 4 + n / 9 for k in range(4)], tick)
    pull = band(noise(n), 1200, 4000) * 0.35 * periodic_env(n, 4, 2.5, 0.0)
    return as_loop(firm(out + pull, 3.0)), RATE, True


def cog():
    n = int(0.8 * RATE)
    t = np.arange(n) / RATE
    k = 16
    click = resonate(np.concatenate([noise(60) * np.exp(-np.arange(60) / 8), np.zeros(400)]), [2100, 3400, 5200], 18)
    click = click / np.max(np.abs(click))
    out = circ_events(n, [i * n / k for i in range(k)], click * 0.8)
    f0 = whole(98, n)
    whirr = (np.sin(TAU * f0 * t) + 0.5 * np.sin(TAU * 2 * f0 * t) + 0.3 * np.sin(TAU * 3 * f0 * t)) * 0.18
    whirr *= periodic_env(n, k, 1.0, 0.6)
    return as_loop(out + whirr), RATE, True


def chisel():
    n = int(0.8 * RATE)
    hit = np.concatenate([noise(40) * np.exp(-np.arange(40) / 5), np.zeros(2600)])
    tink = resonate(hit, [1850, 3120, 4410, 6020], 45)
    tink = tink / np.max(np.abs(tink))
    out = circ_events(n, [0, n / 4, n / 2, 3 * n / 4], tink)
    crumble = band(noise(n), 600, 5000) * 0.25 * periodic_env(n, 4, 3.0, 0.05)
    return as_loop(firm(out + crumble, 4.0)), RATE, True


def bump():
    n = int(1.0 * RATE)
    rumble = band(noise(n), 50, 420, 3)
    bumps = circ_events(n, np.random.randint(0, n, 14), np.hanning(900) * 1.0)
    bumps = 0.35 + bumps
    grit = band(noise(n), 900, 3000) * 0.2
    return as_loop(rumble * bumps + grit * smooth_random(n, 8, 0.5)), RATE, True


def rag():
    n = int(1.05 * RATE)
    cloth = band(noise(n), 450, 3000)
    strokes = periodic_env(n, 3, 1.6, 0.1)
    return as_loop(cloth * strokes * smooth_random(n, 6, 0.2)), RATE, True


def sunglasses():
    n = int(1.0 * RATE)
    t = np.arange(n) / RATE
    f = whole(110, n)
    hum = np.sin(TAU * f * t) + 0.5 * np.sin(TAU * whole(165, n) * t) + 0.25 * np.sin(TAU * whole(220, n) * t)
    hum *= periodic_env(n, 2, 1.0, 0.55)
    air = band(noise(n), 200, 900) * 0.25
    return as_loop(hum + air), RATE, True


def lightbulb():
    n = int(1.0 * RATE)
    t = np.arange(n) / RATE
    chord = sum(np.sin(TAU * whole(f, n) * t) / (i + 1) for i, f in enumerate((1046.5, 1318.5, 1568.0, 2093.0)))
    chord *= periodic_env(n, 6, 1.0, 0.4)
    buzz = np.sin(TAU * whole(120, n) * t)
    buzz = np.tanh(3 * buzz) * 0.12
    return as_loop(chord + buzz), RATE, True


def pepper():
    n = int(0.8 * RATE)
    shake = np.zeros(n)
    for k in range(4):
        centre = k * n / 4
        grains = circ_events(n, (centre + np.random.normal(0, 550, 70)) % n,
                             np.random.uniform(-1, 1, 10) * np.exp(-np.arange(10) / 2.5))
        shake += grains
    shake = band(shake, 2200, 9000)
    return as_loop(firm(shake, 3.0)), RATE, True


def knife():
    n = int(1.0 * RATE)
    scrape = resonate(band(noise(n), 1500, 8000), [2950, 4700, 6300], 25) + 0.4 * band(noise(n), 2000, 7000)
    strokes = periodic_env(n, 2, 1.4, 0.12)
    return as_loop(scrape * strokes), RATE, True


# ------------------------------------------------------------------ one-shot sounds

def click():
    """Speaker, spyglass, zoom centre and the remote's buttons."""
    t = t_axis(0.07)
    x = ping(t, 2300, 0.012) + 0.6 * ping(t, 3600, 0.006) + band(noise(len(t)), 2000) * decay(t, 0.003)
    return one_shot(x), RATE, False


def tick():
    """A click on an option panel or a dialog item."""
    t = t_axis(0.06)
    x = ping(t, 3100, 0.008) + 0.5 * ping(t, 1550, 0.012) + 0.6 * band(noise(len(t)), 3000) * decay(t, 0.002)
    return one_shot(x), RATE, False


def pick():
    """Picking a tool, a group, the printer, the keyboard, the remote or the tube: a bright two-note blip."""
    t = t_axis(0.22)
    x = ping(t, 880, 0.05, ratio=2.0, index=0.8) + ping(t, 1318.5, 0.08, start=0.06, ratio=2.0, index=0.8)
    return one_shot(x), RATE, False


def drip():
    """Dipping into a can or the dropper: a water-drop bloop."""
    t = t_axis(0.14)
    x = bloop(t, 380, 1400, 0.045, 0.003)
    return one_shot(x), RATE, False


def stamp():
    """A stamp, a text or a cut piece pressed onto the picture: a soft thump with a paper slap."""
    t = t_axis(0.18)
    thump = np.sin(glide(t, 180, 70, "exp")) * decay(t, 0.05)
    slap = band(noise(len(t)), 500, 4000) * decay(t, 0.012)
    return one_shot(thump + 0.6 * slap), RATE, False


def ruler():
    """The ruler's line is drawn: a quick zip and a wooden tap."""
    t = t_axis(0.34)
    n = len(t)
    sweep = np.sin(glide(t, 700, 3000, 0.7)) * 0.3
    zip_ = band(noise(n), 1500, 6000) * (0.5 + 0.5 * np.sign(np.sin(glide(t, 60, 140))))
    env = np.clip(t / 0.22, 0, 1) ** 1.5 * (t < 0.24)
    tap = resonate(np.concatenate([np.zeros(int(0.24 * RATE)), noise(30) * np.exp(-np.arange(30) / 4),
                                   np.zeros(n - int(0.24 * RATE) - 30)]), [900, 1600], 12)
    tap /= np.max(np.abs(tap)) + 1e-9
    return one_shot(env * (zip_ * 0.5 + sweep) + tap * 0.8), RATE, False


def eraser():
    """One rub of the eraser (played once per move while no other sound runs)."""
    t = t_axis(0.22)
    n = len(t)
    rub = band(noise(n), 200, 1800) * (0.55 + 0.45 * np.sin(TAU * 28 * t))
    squeak = np.sin(glide(t, 900, 1150)) * 0.15
    env = np.sin(np.pi * t / t[-1]) ** 0.8
    return one_shot(env * (rub + squeak)), RATE, False


def jar():
    """The jar pours: two glugs and a splash."""
    t = t_axis(0.6)
    n = len(t)
    x = np.zeros(n)
    for start, f0, f1 in [(0.0, 220, 520), (0.14, 260, 600)]:
        tt = np.clip(t - start, 0, None)
        on = t >= start
        x += on * np.sin(glide(tt, f0, f1, "exp") * 0.25) * decay(tt, 0.06) * (1 - decay(tt, 0.004))
    splash_t = np.clip(t - 0.26, 0, None)
    x += (t >= 0.26) * band(noise(n), 400, 5000) * decay(splash_t, 0.09) * 0.7
    return one_shot(x), RATE, False


def snip():
    """The scissors' marquee grows: a small snip."""
    t = t_axis(0.12)
    n = len(t)
    a = np.concatenate([noise(50) * np.exp(-np.arange(50) / 6), np.zeros(n - 50)])
    b = np.roll(a, int(0.05 * RATE)) * 0.7
    x = resonate(a + b, [3300, 5100, 6800], 30)
    return one_shot(firm(x, 3.0)), RATE, False


def pop():
    """A cork-like pop (a piece is taken; the first ball sound)."""
    t = t_axis(0.16)
    x = np.sin(glide(t, 1100, 260, "exp")) * decay(t, 0.03) + band(noise(len(t)), 1500) * decay(t, 0.003) * 0.8
    return one_shot(x), RATE, False


def boing(f0=420, f1=180, secs=0.45, vib=18):
    t = t_axis(secs)
    ph = glide(t, f0, f1, "exp")
    wob = 0.25 * np.sin(TAU * vib * t) * decay(t, secs / 3)
    x = np.sin(ph + wob * 8) * decay(t, secs / 3.5) * (1 - decay(t, 0.004))
    x += 0.3 * np.sin(2 * ph) * decay(t, secs / 6)
    return one_shot(x), RATE, False


def bubble():
    t = t_axis(0.2)
    x = bloop(t, 300, 900, 0.06, 0.005)
    return one_shot(x), RATE, False


def plop():
    t = t_axis(0.25)
    x = bloop(t, 260, 120, 0.07, 0.003)
    x += band(noise(len(t)), 300, 2000) * decay(t, 0.01) * 0.4
    return one_shot(x), RATE, False


def splat(low=250, tail=0.12):
    """A paintball: the soft shot and the wet splat."""
    t = t_axis(0.38)
    n = len(t)
    shot = band(noise(n), 600, 3000) * decay(t, 0.008) * 0.5
    st = np.clip(t - 0.07, 0, None)
    wet = band(noise(n), low, 2800) * (t >= 0.07) * decay(st, tail) * (1 - decay(st, 0.004))
    drops = circ_events(n, 0.07 * RATE + np.random.exponential(0.08 * RATE, 14),
                        np.sin(np.linspace(0, 18, 120)) * np.exp(-np.arange(120) / 30))
    return one_shot(shot + wet + 0.25 * drops), RATE, False


def undo():
    """The cleaner bottle: a spray and a squeaky wipe."""
    t = t_axis(0.7)
    n = len(t)
    spray_ = band(noise(n), 2500, 9000) * np.where(t < 0.22, 1.0, decay(np.clip(t - 0.22, 0, None), 0.02))
    spray_ *= 1 - decay(t, 0.01)
    wt = np.clip(t - 0.28, 0, None)
    squeak = np.sin(glide(wt, 1700, 2500) + 3 * np.sin(TAU * 9 * wt)) * (t >= 0.28)
    squeak *= np.sin(np.pi * np.clip(wt / 0.38, 0, 1)) ** 1.2
    return one_shot(0.7 * spray_ + 0.5 * squeak), RATE, False


def template_clack():
    """Pressing a template onto the paper: a plastic clack."""
    t = t_axis(0.11)
    n = len(t)
    a = np.concatenate([noise(40) * np.exp(-np.arange(40) / 5), np.zeros(n - 40)])
    x = resonate(a + 0.6 * np.roll(a, int(0.025 * RATE)), [1250, 2300, 3900], 14)
    return one_shot(firm(x, 4.0)), RATE, False


def page():
    """Turning a page of a stamp book, or a click beside the stamps: a paper flip."""
    t = t_axis(0.36)
    n = len(t)
    rustle = band(noise(n), 900, 6500) * (0.6 + 0.4 * np.abs(np.sin(TAU * 23 * t)))
    env = (1 - decay(t, 0.02)) * decay(t, 0.09)
    flap = np.sin(glide(t, 140, 90)) * decay(t, 0.05) * 0.4
    return one_shot(rustle * env + flap), RATE, False


# ------------------------------------------------------------------ the clearing animations of New

def curtain():
    """A curtain drawn across: a long swish with curtain rings jingling along the rail."""
    t = t_axis(0.85)
    n = len(t)
    centre = np.interp(t, [0, 0.85], [500, 2600])
    sw = np.zeros(n)
    base = noise(n)
    for lo_f in (400, 800, 1600):
        part = band(base, lo_f, lo_f * 2.2)
        w = np.exp(-((np.log(centre) - np.log(lo_f * 1.5)) ** 2) / 0.3)
        sw += part * w
    env = np.sin(np.pi * t / t[-1]) ** 0.7
    rings = sum(ping(t, f, 0.05, start=s, ratio=2.7, index=1.5) * 0.25
                for s, f in [(0.1, 2900), (0.28, 3300), (0.45, 3050), (0.62, 3500)])
    return one_shot(sw * env + rings), RATE, False


def melt():
    """The picture melts down: a gloopy falling wobble with bubbles."""
    t = t_axis(0.8)
    n = len(t)
    f = np.interp(t, [0, 0.8], [620, 110]) * (1 + 0.08 * np.sin(TAU * 7 * t))
    tone = np.sin(TAU * np.cumsum(f) / RATE)
    tone = np.tanh(1.8 * tone) * np.sin(np.pi * np.clip(t / 0.8, 0, 1)) ** 0.5 * (1 - decay(t, 0.01))
    bubbles = sum(np.clip(t - s, 0, None).astype(bool) *
                  np.sin(glide(np.clip(t - s, 0, None), 500, 1200, "exp")) * decay(np.clip(t - s, 0, None), 0.03)
                  for s in (0.12, 0.3, 0.47, 0.61))
    return one_shot(0.8 * tone + 0.35 * bubbles), RATE, False


def shrink():
    """The picture shrinks to a point: a falling slide whistle that ends in a tiny pop."""
    t = t_axis(0.55)
    ph = glide(t, 1500, 260, "exp")
    tone = (np.sin(ph) + 0.3 * np.sin(2 * ph)) * (1 - decay(t, 0.01)) * np.clip((0.5 - t) / 0.05, 0, 1)
    pt = np.clip(t - 0.48, 0, None)
    popx = (t >= 0.48) * np.sin(glide(pt, 900, 300, "exp")) * decay(pt, 0.015)
    return one_shot(0.8 * tone + popx), RATE, False


def slide():
    """The picture slides out: a whoosh that passes by with a rising whistle."""
    t = t_axis(0.95)
    n = len(t)
    whoosh = band(noise(n), 300, 3500)
    env = np.exp(-((t - 0.45) / 0.22) ** 2)
    ph = glide(t, 400, 1600, "exp")
    whistle = np.sin(ph) * np.exp(-((t - 0.5) / 0.25) ** 2) * 0.35
    return one_shot(whoosh * env + whistle), RATE, False


SOUNDS = [
    (1000, "pencil", pencil, "pencil scribble (loops while the pencil draws)"),
    (1001, "brush", brush, "brush swish (loops)"),
    (1002, "ruler", ruler, "the ruler's line is drawn"),
    (1003, "eraser", eraser, "one eraser rub"),
    (1004, "jar", jar, "the jar pours"),
    (1005, "snip", snip, "scissors marquee"),
    (1006, "pop", pop, "a piece is cut; ball 1"),
    (1007, "boing", lambda: boing(420, 180, 0.45, 18), "ball 2"),
    (1008, "bubble", bubble, "ball 3"),
    (1009, "boing_high", lambda: boing(760, 330, 0.35, 24), "ball 4"),
    (1010, "plop", plop, "ball 5"),
    (1011, "sparkle", wand, "wand sparkles (loops)"),
    (1012, "splat1", lambda: splat(250, 0.12), "paintball splat 1"),
    (1013, "splat2", lambda: splat(180, 0.16), "paintball splat 2"),
    (1014, "splat3", lambda: splat(350, 0.09), "paintball splat 3"),
    (1015, "click", click, "speaker, spyglass, zoom centre, remote buttons"),
    (1016, "curtain", curtain, "New: the curtain"),
    (1017, "melt", melt, "New: the melt"),
    (1018, "slide", slide, "New: the slide"),
    (1019, "drip", drip, "dipping into a can; the dropper; the palette"),
    (1020, "stamp", stamp, "a stamp, a text or a cut piece is printed"),
    (1023, "spray", spray, "spray can hiss (loops)"),
    (1024, "stitch", needle, "needle and thread (loops)"),
    (1025, "cog", cog, "cog ratchet (loops)"),
    (1026, "chisel", chisel, "hammer and chisel (loops)"),
    (1027, "bump", bump, "bump patterns (loops)"),
    (1028, "undo", undo, "the cleaner bottle undoes"),
    (1029, "template", template_clack, "a template is pressed on"),
    (1030, "rag", rag, "rag wiping (loops)"),
    (1031, "shrink", shrink, "New: the shrink"),
    (1032, "shade", sunglasses, "sunglasses darken (loops)"),
    (1033, "glow", lightbulb, "lightbulb brightens (loops)"),
    (1034, "pick", pick, "picking a tool, a group or a room object"),
    (1035, "tick", tick, "a click on an option panel or dialog item"),
    (1036, "pepper", pepper, "pepper shaker (loops)"),
    (1037, "sharpen", knife, "pocket knife sharpening (loops)"),
    (1038, "crayon", crayon, "crayon scribble (loops)"),
    (1040, "page", page, "stamp book: page turned or closed"),
]

LOOPS = {1000, 1001, 1011, 1023, 1024, 1025, 1026, 1027, 1030, 1032, 1033, 1036, 1037, 1038}


def _entry(rid, name, fn, role):
    return Entry("WAVE", "paint", rid, f"paint/sounds/{rid}_{name}.wav", depth=16, role=role, make=fn,
                 extra={"loop": rid in LOOPS})


ENTRIES = [_entry(*s) for s in SOUNDS]
