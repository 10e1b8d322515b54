#pragma once
namespace vorn {

class Program;

// Start-up before the main window's event loop: refuses a second copy, discovers the
// environment, loads the settings, checks Outlook Express and its users, fills and shows the
// main window, then adjusts the menus for what is installed. Ends the program where it must.
void Main(Program& program, bool anotherCopyRunning);

}  // namespace vorn
