#pragma once
#include "platform/archiver.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry_editor.h"
#include "platform/registry_store.h"
#include "platform/shell.h"
#include "platform/ui_services.h"

namespace vorn {

// Every platform service the program uses, handed to the code that needs them.
struct Platform {
  RegistryStore& registry;
  Environment& environment;
  FileSystem& files;
  Processes& processes;
  Shell& shell;
  UiServices& ui;
  Clock& clock;
  RegistryEditor& registryEditor;
  Archiver& archiver;
};

}  // namespace vorn
