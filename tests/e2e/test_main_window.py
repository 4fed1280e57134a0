"""The main window opens maximised with the board photograph centred, and File, Exit ends
the program with exit code 0."""

from harness import check, run

BOARD_W, BOARD_H = 600, 384
WHITE = (255, 255, 255)


def is_white(p):
    return all(c >= 250 for c in p)


def client_top(shot, x, y0, y1):
    """First row of the white client area below the menu bar."""
    for y in range(y0, y1):
        if is_white(shot.pixel(x, y)) and is_white(shot.pixel(x, y + 1)) and is_white(shot.pixel(x, y + 2)):
            return y
    raise AssertionError("no white client area found")


def scenario(s):
    s.start()
    wid = s.wait_window("Setup")
    s.settle(lambda: "MAXIMIZED_HORZ" in s.window_state(wid) and "MAXIMIZED_VERT" in s.window_state(wid),
             message="the main window is not maximised")
    sw, sh = s.screen_size()

    def board_in_place():
        # The window manager may still be placing the window: measure it each time.
        x, y, w, h = s.geometry(wid)
        left, right, top, bottom = s.frame_extents(wid)
        outer_w, outer_h = w + left + right, h + top + bottom
        if w < sw * 0.9 or h < sh * 0.8:
            return False
        shot = s.screenshot("main_window")
        cy = client_top(shot, x + 3, y, y + 80)
        bx = x + (outer_w - BOARD_W) // 2
        by = cy + (outer_h - BOARD_H) // 2
        inside = [(bx + 2, by + 2), (bx + BOARD_W - 3, by + 2), (bx + 2, by + BOARD_H - 3),
                  (bx + BOARD_W - 3, by + BOARD_H - 3)]
        outside = [(bx - 3, by + 2), (bx + BOARD_W + 2, by + 2), (bx + 2, by + BOARD_H + 2),
                   (bx + BOARD_W - 3, by - 3)]
        return all(not is_white(shot.pixel(px, py)) for px, py in inside) and all(
            is_white(shot.pixel(px, py)) for px, py in outside)

    s.settle(board_in_place, timeout=40, message="the photograph is not where the centring puts it")

    s.activate(wid)
    s.key("alt+f")
    s.settle(lambda: s.find_windows("Setup"), message="main window vanished early")
    s.key("e")
    check(s.wait_exit() == 0, "File, Exit did not end the program with exit code 0")


run(scenario)
