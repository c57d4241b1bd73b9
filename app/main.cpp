// quor-generator: the tone generator's window on the system's sound devices.
#include <QApplication>
#include <iostream>

#include "CommandLineInfo.h"
#include "DeviceList.h"
#include "FirstPaintReport.h"
#include "PortAudioWaveOut.h"
#include "ProgramWindows.h"
#include "QtEventLoop.h"
#include "StartupSequence.h"
#include "TfrmStartSplash.h"
#include "ToneOutputAdapter.h"
#include "Version.h"
#include "WindowFont.h"

int main(int argc, char** argv) {
  if (const auto status = quor::answerInfoArgument(argc, argv, std::cout)) return *status;
  QApplication app(argc, argv);
  QApplication::setApplicationName(quor::kProductName);
  QGuiApplication::setDesktopFileName(quor::kDesktopFileName);
  QApplication::setStyle("Fusion");
  QApplication::setFont(quor::windowFont());
  quor::reportFirstPaintIfAsked(&app);
  const quor::QtEventLoop loop;

  quor::audio::PortAudioWaveOut platform;
  quor::audio::ToneOutputAdapter output(platform);
  std::unique_ptr<quor::TfrmGenerator> window;
  const auto createWindows = [&] {
    quor::GeneratorServices services;
    services.output = &output;
    const quor::audio::OutputDeviceList devices = quor::audio::outputDeviceList(platform);
    services.deviceItems = devices.items;
    services.hideDeviceList = devices.hidden;
    // What Qt has not taken for itself; file names stay the bytes they were given as.
    services.arguments.assign(argv + 1, argv + argc);
    window = quor::createProgramWindows(services);
    const auto outputStateChanged = [&window] { window->AudioOutputStateChanged(); };
    output.connectSwitch(window->engine().toneSwitch, outputStateChanged, outputStateChanged);
  };
  const auto runCommandLineScript = [&window] { return window->runScriptArgument(); };

  quor::EventLoopStartupPacing pacing(quor::EventLoopStartupPacing::waitsAsked());
  // After a script named on the command line the program ends at once: the main window has
  // not been shown, and its settings are not written.
  if (quor::runStartupSequence(std::make_unique<quor::TfrmStartSplash>(), pacing,
                               {createWindows, runCommandLineScript})) {
    return 0;
  }
  window->show();
  return QApplication::exec();
}
