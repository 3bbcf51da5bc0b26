"""The program starts and shows its main window at its designed size."""

from harness import Desktop, fail, wait_for


def main():
    with Desktop("main_window") as d:
        d.start_app()
        wid = d.window("Quorvane")
        _, _, w, h = d.geometry(wid)
        # 11670 x 8505 twips at 15 twips a pixel.
        if (w, h) != (778, 567):
            fail(f"main window is {w}x{h}, expected 778x567")
        d.screenshot("main_window")
        if d.app.poll() is not None:
            fail("the program ended by itself")


if __name__ == "__main__":
    main()
