#pragma once
// The running program with its windows: the state of the run (App, which the runs below the
// windows receive), its main window and the host that shows the forms.
#include "core/app.h"
#include "ui/form1.h"
#include "ui/form_host.h"

namespace vorn {

class Program : public App {
 public:
  Program(Platform& platform, FormHost& host) : App(platform), host(host), form1_(*this, host) {}

  Form1& form1() { return form1_; }
  FormHost& host;

 private:
  Form1 form1_;
};

}  // namespace vorn
