"""Headless scripts of whole runs, made from a game's Kiv.txt, for the web build's tests: the
desktop program plays them natively, the node runner under node, and the page in the browser.
Kiv.txt is read by the demo's line layout: the stage layouts from line 13, the check points
four lines a stage from line 49."""

NAME_LETTERS = "abcdefghijklmnopqrstuvwxyz_"


def kiv_number(token):
    text = token.decode("ascii")
    if text.startswith("$"):
        return int(text[1:], 16)
    if text[:2].lower() == "0x":
        return int(text[2:], 16)
    return int(text)


def kiv_numbers(line):
    return [kiv_number(t) for t in line.split(b";")[0].split()]


def read_layout(kiv_txt):
    """Each stage's refill spot and its twenty check points (lines 13-22 and 49-88)."""
    lines = kiv_txt.split(b"\r\n")
    refill, points = [], []
    for stage in range(10):
        layout = kiv_numbers(lines[12 + stage])
        refill.append((layout[5], layout[6]))
        pairs = []
        for row in range(4):
            v = kiv_numbers(lines[48 + stage * 4 + row])
            pairs += list(zip(v[0::2], v[1::2]))
        points.append(pairs)
    return refill, points


def letter_click(c):
    d = NAME_LETTERS.index(c) + 1
    x = 100 if d % 2 else 200
    y = 36 + 28 * ((d - 1) // 2) + 1 if d % 2 else 50 + 28 * ((d - 2) // 2) + 1
    return f"click {x} {y}\n"


def challenge_script(kiv_txt, name, assist=False, seed=None, shots=False):
    """A challenge run that clears every stage by a press on each check point and enters
    `name`, six letters: the entry fills up with them, and the click after them ends it. With
    `shots`, screenshots into @SHOTS@/ at the start of every stage, with the overlay over stage
    1, at the ending and at the name entry, and stage 2 reloaded once."""
    assert len(name) == 6 and all(c in NAME_LETTERS for c in name), name
    refill, points = read_layout(kiv_txt)

    def on(x, y):
        return f"click {x - 9} {y - 7}\nframes 1\n"

    s = ""
    if seed is not None:
        s += "# the script's seed wins over --seed\n\n" + f"seed {seed}\n"
    s += "frames 5\n"
    if shots:
        s += "paint\nscreenshot @SHOTS@/opening.bmp\n"
    s += "click 320 240\nuntil-scene 1 300\nuntil-step 12 300\n"
    if shots:
        s += "screenshot @SHOTS@/menu.bmp\n"
    s += "click 530 245\nuntil-step 14 100\nclick 530 245\n"
    for stage in range(10):
        s += f"until-scene {stage + 2} 300\n"
        if shots and stage == 1:
            s += "frames 3\nreload\n"
        s += "until-step 4 3000\n"
        if shots:
            s += f"screenshot @SHOTS@/stage-{stage + 1:02}.bmp\n"
        s += "click 320 240\nuntil-step 50 20\n"
        s += on(*refill[stage])
        if assist and stage == 0:
            s += "key f5\n"
        for p in points[stage]:
            s += on(*p)
        if shots and stage == 0:
            s += "overlay on\nscreenshot @SHOTS@/stage-01-overlay.bmp\noverlay off\n"
        s += "click 320 240 right\nuntil-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n"
    s += "until-scene 12 300\nuntil-step 55 3000\n"
    if shots:
        s += "screenshot @SHOTS@/ending.bmp\n"
    s += "click 320 240\nuntil-scene 13 300\nuntil-step 64 3000\n"
    for c in name:
        s += letter_click(c)
    if shots:
        s += "screenshot @SHOTS@/name.bmp\n"
    s += "click 320 240\nuntil-scene 0 50\nframes 5\n"
    return s
