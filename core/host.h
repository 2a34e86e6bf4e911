// What a conversion needs from the program that runs it: blocking message
// boxes and the progress window. The window and the command line are two
// hosts; the tests use a recording one.
#pragma once

#include "core/text.h"

namespace korvanel {

class Host {
 public:
  virtual ~Host() = default;

  // Shows a message with an OK button and returns when the user closed it.
  virtual void showMessage(const Text& message) = 0;

  // The progress window: shown without blocking at the start of a run.
  virtual void showProgress() = 0;
  virtual void setProgressValue(int percent) = 0;
  virtual void setProgressStatus(const Text& status) = 0;
  virtual void enableProgressOk() = 0;
  virtual void hideProgress() = 0;
};

// A host that shows nothing: for scans of a file's head, the fuzz targets
// and the benchmarks.
class SilentHost : public Host {
 public:
  void showMessage(const Text&) override {}
  void showProgress() override {}
  void setProgressValue(int) override {}
  void setProgressStatus(const Text&) override {}
  void enableProgressOk() override {}
  void hideProgress() override {}
};

}  // namespace korvanel
