// Wine's wscript: creates the Start menu entry NAME (a shortcut in the folder "Vorn" of every
// user's programs, as the installer makes it) that starts PROGRAM in its own folder.
//   wscript //nologo menu-entry.js NAME PROGRAM
var shell = WScript.CreateObject("WScript.Shell");
var files = WScript.CreateObject("Scripting.FileSystemObject");
var folder = shell.SpecialFolders("AllUsersPrograms") + "\\Vorn";
if (!files.FolderExists(folder)) files.CreateFolder(folder);
var link = shell.CreateShortcut(folder + "\\" + WScript.Arguments(0));
link.TargetPath = WScript.Arguments(1);
link.WorkingDirectory = files.GetParentFolderName(WScript.Arguments(1));
link.Save();
