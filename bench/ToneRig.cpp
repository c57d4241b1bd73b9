#include "ToneRig.h"

#include <QEventLoop>
#include <QTimer>

#include "DeviceList.h"
#include "FirstStart.h"

namespace quor::bench {

ToneRig::ToneRig() {
  output.connectSwitch(engine.toneSwitch, [this] {
    ++stops;
    if (waiting_ != nullptr && stops >= awaited_) waiting_->quit();
  });
  const audio::OutputDeviceList list = audio::outputDeviceList(device);
  controls.setItems(Control::WaveDevice, list.items);
  controls.setItemIndex(Control::WaveDevice, 0);
  output.setWaveDevice(audio::deviceNumberForItem(0));
  prepareFirstStart(engine, controls);
}

void ToneRig::setTone(int periodSeconds, bool loop) {
  controls.userType(Control::fEdit, "1000");
  controls.userLeave(Control::fEdit);
  controls.userType(Control::Duration, std::to_string(periodSeconds));
  controls.userLeave(Control::Duration);
  controls.setChecked(Control::chkLoop, loop);
}

bool ToneRig::waitForStops(int count, int ms) {
  if (stops >= count) return true;
  QEventLoop loop;
  waiting_ = &loop;
  awaited_ = count;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  waiting_ = nullptr;
  return stops >= count;
}

}  // namespace quor::bench
