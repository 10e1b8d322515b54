#pragma once
// A dialog shown modally over the main window (FrmBkpth, and each later dialog): the form host
// creates its view, runs Form_Load, shows it and returns once a handler has set closed.
#include <string>
#include <utility>

#include "platform/window_handle.h"

namespace vorn {

class ModalForm {
 public:
  virtual ~ModalForm() = default;
  ModalForm(const ModalForm&) = delete;
  ModalForm& operator=(const ModalForm&) = delete;

  virtual void Form_Load() = 0;

  std::string caption;
  WindowHandle hwnd = 0;  // set by the view while the dialog is on screen
  bool closed = false;

 protected:
  explicit ModalForm(std::string caption) : caption(std::move(caption)) {}
};

}  // namespace vorn
