"""Hovering a circle with the real pointer: its popup opens where the panel was designed,
moving into the popup keeps it, moving out of it closes it, leaving the circle elsewhere
closes it, and a click pins it."""

from harness import check, run

HELP = "Instructions for Settings utility"
USB = "USB Connector"


def scenario(s):
    s.start()
    main = s.wait_window("Setup")
    s.settle(lambda: "MAXIMIZED_VERT" in s.window_state(main), message="main window not maximised")
    # The help window opens by itself; Esc starts the tour, and Done ends it.
    help_window = s.wait_window(HELP, timeout=30)
    s.activate(help_window)
    s.key("Escape")
    s.wait_no_window(HELP)
    tour = s.wait_window("Mode Settings")
    tx, ty, tw, th = s.geometry(tour)
    s.click(tx + tw - 64 + 29, ty + th - 44 + 12)
    s.wait_no_window("Mode Settings")

    mx, my, mw, mh = s.geometry(main)
    left, right, top, bottom = s.frame_extents(main)
    image_left, image_top = (mw + left + right - 600) // 2, (mh + top + bottom - 384) // 2
    client_top = s.settle(lambda: next((y for y in range(my, my + 80) if s.screenshot("hover_0").pixel(mx + 3, y) ==
                                        (255, 255, 255)), None), message="no client area")
    circle = (mx + image_left + 32 + 32, client_top + image_top + 312 + 28)
    away = (mx + mw - 60, client_top + 120)

    # Hover, then leave into the popup: it stays; leave the popup: it closes.
    s.move(*circle)
    popup = s.wait_window(USB)
    px, py, pw, ph = s.geometry(popup)
    pl, pr, pt, pb = s.frame_extents(popup)
    sw, sh = s.screen_size()
    # Where the panel was designed, moved with the board, then kept on the screen.
    expected = (image_left - 142 + 24, min(image_top - 74 + 496, sh - (ph + pt + pb)))
    check((px - pl, py - pt) == expected, f"popup at {(px - pl, py - pt)}, expected {expected}")
    s.screenshot("hover_1_open")
    s.move(px + pw // 2, py + 20)
    s.settle(lambda: s.find_windows(USB), message="popup closed when the pointer went into it")
    s.move(*away)
    s.wait_no_window(USB)

    # Hover and leave elsewhere: it closes.
    s.move(*circle)
    s.wait_window(USB)
    s.move(*away)
    s.wait_no_window(USB)

    # Hover and click: pinned, it stays when the pointer leaves.
    s.move(*circle)
    s.wait_window(USB)
    s.click()
    s.move(*away)
    s.screenshot("hover_2_pinned")
    check(s.find_windows(USB), "a pinned popup closed when the pointer left its circle")


run(scenario)
