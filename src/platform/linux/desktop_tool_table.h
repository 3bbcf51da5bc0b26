#pragma once
// Which desktop tool stands for each of the program's tool command lines.

#include <array>
#include <string_view>

namespace qv::lnx::tools {

struct Candidate {
  // A desktop-file id ("name.desktop"), or a program looked up on PATH and its
  // arguments, separated by single spaces.
  std::string_view name;
  // The desktop (as XDG_CURRENT_DESKTOP names it) the tool belongs to, for
  // tools whose entries do not say so themselves; elsewhere it is a last
  // resort.
  std::string_view desktop = {};
  // An X Toolkit program: "-iconic" right after the program name starts it
  // minimized. Other programs have no such option; there the window manager
  // decides how the window first appears.
  bool xt = false;
};

struct Tool {
  std::string_view commandLine;          // byte for byte as the program issues it
  std::array<Candidate, 10> candidates;  // in order of preference; unused ones empty
  // Desktops with no such tool of their own, where only another desktop's
  // can stand in, and what the tool is, for the line that says so.
  std::array<std::string_view, 2> lackedBy = {};
  std::string_view what = {};
};

// Within a list: GNOME, KDE Plasma, Cinnamon, Xfce, MATE, LXQt, then tools of
// no particular desktop. Every desktop entry named here is one a Debian 12
// package ships (tests/data/desktop-tools/debian12.txt, written by
// scripts/desktop-tool-packages.py).
inline constexpr std::array kTools{
    Tool{"Rundll32.exe Shell32.dll,Control_RunDLL powercfg.cpl",
         {{{"gnome-power-panel.desktop"},
           {"kcm_powerdevilprofilesconfig.desktop", "KDE"},
           {"cinnamon-settings-power.desktop"},
           {"xfce4-power-manager-settings.desktop", "XFCE"},
           {"mate-power-preferences.desktop"},
           {"lxqt-config-powermanagement.desktop", "LXQt"}}}},
    Tool{"Rundll32.exe Shell32.dll,Control_RunDLL inetcpl.cpl",
         {{{"gnome-network-panel.desktop"},
           {"kcm_networkmanagement.desktop", "KDE"},
           {"nm-connection-editor.desktop"},
           {"nm-connection-editor"}}}},
    Tool{"Rundll32.exe Shell32.dll,Control_RunDLL Timedate.cpl",
         {{{"gnome-datetime-panel.desktop"},
           {"systemsettings kcm_clock", "KDE"},
           {"cinnamon-settings-calendar.desktop"},
           {"lxqt-admin-time.desktop"}}},
         {"XFCE", "MATE"},
         "date and time settings"},
    Tool{"taskmgr.exe",
         {{{"gnome-system-monitor.desktop"},
           {"org.kde.plasma-systemmonitor.desktop"},
           {"xfce4-taskmanager.desktop"},
           {"mate-system-monitor.desktop"},
           {"qps.desktop"},
           {"lxtask.desktop"},
           {.name = "xterm -e top", .xt = true}}}},
    Tool{"Rundll32.exe Shell32.dll,Control_RunDLL sysdm.cpl",
         {{{"gnome-info-overview-panel.desktop"},
           {"org.kde.kinfocenter.desktop"},
           {"kcm_about-distro.desktop", "KDE"},
           {"cinnamon-settings-info.desktop"},
           {"xfce4-about.desktop", "XFCE"},
           {"hardinfo.desktop"}}},
         {"MATE", "LXQt"},
         "system information"},
    Tool{"Rundll32.exe Shell32.dll,Control_RunDLL appwiz.cpl",
         {{{"org.gnome.Software.desktop"},
           {"org.kde.discover.desktop"},
           {"org.gnome.Packages.desktop"},
           {"synaptic.desktop"}}}},
    Tool{"calc",
         {{{"org.gnome.Calculator.desktop"},
           {"org.kde.kcalc.desktop"},
           {"galculator.desktop"},
           {"mate-calc.desktop"},
           {"qalculate-gtk.desktop"},
           {.name = "xcalc", .xt = true}}}},
};

}  // namespace qv::lnx::tools
