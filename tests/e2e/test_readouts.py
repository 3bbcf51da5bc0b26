"""With sensors at 45.5 °C (CPU) and 38 °C (disk) and the real /proc, the
main window shows the four readouts with their bars and the memory lines,
and the small monitor window repeats them under a date title."""

import datetime
import re
import time

import sensors
from harness import Desktop, fail, wait_for


def main():
    root = sensors.machine(45500, 38000)
    with Desktop("readouts") as d:
        d.start_app({"QUORVANE_SYS_ROOT": root})
        main_window = d.window("Quorvane")
        time.sleep(25)  # CPU and memory at 8 s, the disk at 21 s
        names = d.names("Quorvane")
        for want in ["CPU温度", "45.5", "℃", "内存使用率", "CPU使用率", "硬盘温度", "38",
                     "CPU温度 4/10", "硬盘温度 3/10"]:
            if want not in names:
                fail(f"the main window does not show {want!r}: {names}")
        for prefix in ["交换区大小：", "物理内存总数：", "物理内存可用数：", "虚拟内存总数："]:
            if not any(re.fullmatch(re.escape(prefix) + r"[0-9.]+KB", n) for n in names):
                fail(f"no memory line {prefix}...KB")
        memory = [n for n in names if n.startswith("物理内存总数：")][0]
        if memory == "物理内存总数：0KB":
            fail("the memory figures were not read")

        today = datetime.date.today()
        title = f"{today.month}月{today.day}日"
        small = wait_for(lambda: d.search("^" + title), 10)
        if not small:
            fail("no small monitor window titled " + title)
        small_names = d.names(title)
        for want in ["CPU温度：45.5℃", "硬盘温度：38℃"]:
            if want not in small_names:
                fail(f"the small window does not show {want!r}: {small_names}")
        if not any(re.fullmatch(r"内存使用率：\d+%", n) for n in small_names):
            fail("the small window has no memory line")
        if not any(re.fullmatch(r"CPU使用率：\d+%", n) for n in small_names):
            fail("the small window has no CPU load line")

        d.screenshot("readouts_main", main_window)
        d.screenshot("readouts_small", small[0])
        d.screenshot("readouts_desktop")


if __name__ == "__main__":
    main()
