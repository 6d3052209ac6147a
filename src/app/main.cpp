// demo: the show, or one of the extra modes of the command line (see app/command_line.h).
#include <cstdio>

#include "app/application.h"
#include "app/backends.h"
#include "app/capture.h"
#include "app/command_line.h"
#include "app/script_check.h"
#include "cli/program.h"

int main(int argc, char** argv) {
  using namespace demo;
  const CommandLine commandLine = parseCommandLine(argc, argv);
  switch (commandLine.mode) {
    case CommandLine::Mode::Help:
      std::fputs(usageText(commandLine.program).c_str(), stdout);
      return 0;
    case CommandLine::Mode::Version:
      std::fputs(cli::versionText(commandLine.program).c_str(), stdout);
      return 0;
    case CommandLine::Mode::Check:
      return checkScript(commandLine.script.c_str(), stdout, stderr, commandLine.checkFiles);
    case CommandLine::Mode::Capture:
      return runCapture(commandLine.capture, commandLine.showText);
    case CommandLine::Mode::Invalid:
      return cli::usageError(commandLine.program, commandLine.error);
    case CommandLine::Mode::Show:
      break;
  }
  Backends backends = createBackends({commandLine.noDialogs, commandLine.verbose});
  DeviceLayer layer(backends.direct3d, backends.direct3dContext);
  Application application(*backends.host, layer, *backends.music);
  // A negative code becomes its low byte as the process status: -6 is 250.
  return application.run(commandLine.showText.c_str());
}
