#pragma once

namespace qv {

class Program;

// The readout icon (tray icon id 0) and what it shows, the display modes of
// the settings window, and the status tooltip of the application icon.
void installTrayPicture(Program& program);

}  // namespace qv
