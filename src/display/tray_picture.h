#pragma once

namespace qv {

class Program;

// Deletes the readout icon (tray icon id 0).
void removeReadoutIcon(Program& program);

}  // namespace qv
