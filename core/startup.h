#pragma once
namespace vorn {

class App;

// Start-up before the main window's event loop: refuses a second copy, discovers the
// environment, loads the settings, checks Outlook Express and its users, fills and shows the
// main window, then adjusts the menus for what is installed. Ends the program where it must.
void Main(App& app, bool anotherCopyRunning);

}  // namespace vorn
