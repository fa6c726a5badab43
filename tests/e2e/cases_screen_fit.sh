# End-to-end cases of a main window too large for its screen: it shrinks to fit,
# and presses still land on what is drawn.

# A 1024 x 768 screen without a window manager: the window with its menu would
# be taller than the screen, so it shrinks; the road of one request is the same
# (find_main_window checks that the whole window is on the screen).
case_small_screen() {
    E2E_SCREEN=1024x768 case_road
    expect_shrunk_below 96
}
