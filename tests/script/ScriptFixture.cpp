#include "ScriptFixture.h"

#include <fstream>

#include "FirstStart.h"

namespace quor::testing {

ScriptTest::ScriptTest() {
  output.connectSwitch(engine.toneSwitch);
  prepareFirstStart(engine, controls);
  controls.onHideScriptDialog = [this] { host.hideDialog(); };
  host.onLineCarriedOut = [this] { snapshots.push_back(snapshot()); };
}

std::string ScriptTest::scriptFile(const std::string& bytes, const std::string& name) {
  const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

LineSnapshot ScriptTest::snapshot() const {
  LineSnapshot line;
  for (Control c : {Control::fEdit, Control::fInit, Control::fFinal, Control::Duration,
                    Control::Pulses, Control::DutyCycle, Control::Amplitude}) {
    line.texts[c] = controls.text(c);
  }
  line.page = controls.activePage();
  line.logarithmic = controls.checked(Control::Logarithmic);
  line.loop = controls.checked(Control::chkLoop);
  line.pulsed = controls.checked(Control::PulsedOn);
  return line;
}

void ScriptTest::expectTexts(const LineSnapshot& line,
                             const std::map<Control, std::string>& texts) {
  for (const auto& [control, text] : texts) {
    EXPECT_EQ(line.texts.at(control), text) << "control " << static_cast<int>(control);
  }
}

}  // namespace quor::testing
