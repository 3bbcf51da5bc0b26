"""The settings window opens from the main window's "主设置" picture with every
caption readable; an option changed and applied there is in force after the
program restarts."""

import os
import time

from harness import Desktop, fail, wait_for

# Pixels of the client areas (15 twips a pixel).
SETTINGS_TOOL = (728, 168)  # Image10 of the main window
APPLY_OPTIONS = (600, 243)  # Command5 "应用" of the options, in frame "设置"

CAPTIONS = ["CPU温度报警提示上限", "CPU使用率报警上限", "内存使用率报警上限", "硬盘温度报警提示上限",
            "CPU温度校正", "报警自动关机延时", "CPU温度报警动作延时", "内存使用率报警动作延时",
            "CPU使用率报警动作延时", "CPU温度报警自动关机上限", "硬盘温度报警自动关机上限",
            "自动启动时不开启小窗口监测", "CPU温度报警自动关机", "硬盘温度报警自动关机", "取消报警声音",
            "开机自动启动", "定时关机/重启/待机执行时不提示用户", "开启多段提醒", "每月几号定时",
            "定时关机/重启/待机延时执行时间", "星期一", "星期日", "报警声音", "报警声音长度",
            "自动循环切换监测", "星期", "应用", "取消", "默认"]


def open_settings(d):
    main = d.window("Quorvane")
    d.click_in(main, *SETTINGS_TOOL)
    settings = d.window("设置")
    if d.search("^Quorvane$"):
        fail("the main window stayed up when the settings window opened")
    return settings


def main():
    with Desktop("settings") as d:
        d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent"})
        settings = open_settings(d)
        names = d.names("设置")
        missing = [c for c in CAPTIONS if c not in names]
        if missing:
            fail(f"the settings window lacks {missing}")
        d.screenshot("settings_window", settings)
        if d.checked("设置", "CPU温度报警自动关机"):
            fail("an option is ticked on a fresh store")

        d.act("设置", "CPU温度报警自动关机")
        d.click_in(settings, *APPLY_OPTIONS)
        if not wait_for(lambda: not d.search("^设置$"), 5):
            fail("applying did not close the settings window")
        ini = os.path.join(d.home, ".config/quorvane/settings.ini")
        if not wait_for(lambda: os.path.exists(ini) and "[b.b]\nstatus=1" in open(ini).read(), 5):
            fail("the applied option is not in the settings file")

        d.stop_app()
        d.start_app({"QUORVANE_SYS_ROOT": "/nonexistent"})
        open_settings(d)
        if not d.checked("设置", "CPU温度报警自动关机"):
            fail("the applied option was lost across a restart")


if __name__ == "__main__":
    main()
