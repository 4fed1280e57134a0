"""The road a technician takes: the help window opens by itself, Enter starts the tour at
"Mode Settings" (pinned, placed from the panel's design position), a click on the drawn
"RS485 Mode TX" jumper moves the others, Done closes; the Options menu and Next walk
from "LED info" to "USB Connector"."""

from harness import check, run

HELP = "Instructions for Settings utility"
DARK_RED = (128, 0, 0)
GREY = (128, 128, 128)


def near(p, q, tol=6):
    return all(abs(a - b) <= tol for a, b in zip(p, q))


def scenario(s):
    s.start()
    main = s.wait_window("Setup")
    s.settle(lambda: "MAXIMIZED_VERT" in s.window_state(main), message="main window not maximised")

    help_window = s.wait_window(HELP, timeout=30)
    mx, my, mw, mh = s.geometry(main)
    hx, hy, hw, hh = s.geometry(help_window)
    check(abs((hx + hw // 2) - (mx + mw // 2)) <= 40 and abs((hy + hh // 2) - (my + mh // 2)) <= 60,
          f"help window at {hx},{hy} {hw}x{hh} is not centred over the main window")
    s.screenshot("road_1_help")

    s.activate(help_window)
    s.key("Return")
    s.wait_no_window(HELP)
    popup = s.wait_window("Mode Settings")

    # Placement: image left + 482, image top + 119, in client numbers used as screen numbers.
    left, right, top, bottom = s.frame_extents(main)
    outer_w, outer_h = mw + left + right, mh + top + bottom
    image_left, image_top = (outer_w - 600) // 2, (outer_h - 384) // 2

    seen = []

    def placed():
        px, py, _, _ = s.geometry(popup)
        pl, _, pt, _ = s.frame_extents(popup)
        seen[:] = [(px - pl, py - pt), (pl, pt)]
        return seen[0] == (image_left + 482, image_top + 119)

    try:
        s.settle(placed, timeout=30)
    except Exception:
        check(False, f"popup is at {seen[0]} (frame {seen[1]}), not at ({image_left + 482}, {image_top + 119})")
    px, py, pw, ph = s.geometry(popup)
    check((pw, ph) == (201, 309), f"popup client area is {pw}x{ph}, not 201x309")
    shot = s.screenshot("road_2_popup")
    check(near(shot.pixel(px + 48 + 4, py + 16 + 9), DARK_RED), "three-pin cap is not on the left at start")

    # Click the drawn RS485 Mode TX jumper.
    s.click(px + 48 + 17, py + 56 + 9)

    def moved():
        shot = s.screenshot("road_3_four_wire")
        return (near(shot.pixel(px + 48 + 40, py + 16 + 4), DARK_RED)  # cap now right
                and near(shot.pixel(px + 48 + 4, py + 16 + 9), GREY)  # left end bare
                and near(shot.pixel(px + 48 + 2, py + 56 + 2), DARK_RED)  # ModeTx closed
                and near(shot.pixel(px + 48 + 4, py + 72 + 9), GREY))  # ModeRx open

    s.settle(moved, message="the jumpers did not move to the four-wire placement")

    s.click(px + 137 + 29, py + 265 + 12)  # Done
    s.wait_no_window("Mode Settings")

    s.activate(main)
    s.key("alt+o")
    s.settle(lambda: True)
    s.key("Return")
    led = s.wait_window("LED info")
    lx, ly, lw, lh = s.geometry(led)
    s.screenshot("road_4_led_info")
    s.click(lx + (lw - 58) // 2 + 29, ly + lh - 44 + 12)  # Next
    s.wait_window("USB Connector")
    s.wait_no_window("LED info")
    s.screenshot("road_5_usb")


run(scenario)
