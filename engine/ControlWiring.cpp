#include "ControlWiring.h"

namespace quor {

void ControlWiring::controlEvent(Control control, ControlEvent event) {
  ToneParameters& p = parameters_;
  switch (event) {
    case ControlEvent::Change:
      switch (control) {
        case Control::fEdit:
        case Control::fInit:
        case Control::fFinal:
          p.frequencyTextChange(control);
          break;
        case Control::Amplitude:
          p.AmplitudeChange();
          break;
        case Control::WaveForm:
        case Control::WaveDevice:
          p.fEditExit();
          break;
        case Control::FSList:
          p.FSListChange();
          break;
        case Control::cboSoundQuality:
          p.cboSoundQualityChange();
          break;
        default:
          break;
      }
      break;
    case ControlEvent::Click:
      switch (control) {
        case Control::chkLoop:
        case Control::chkPositiveOffset:
        case Control::GroupBox3:
          p.fEditExit();
          break;
        case Control::PulsedOn:
          p.PulsedOnClick();
          break;
        default:
          break;
      }
      break;
    case ControlEvent::Exit:
      switch (control) {
        case Control::fEdit:
        case Control::fInit:
        case Control::fFinal:
        case Control::Pulses:
        case Control::DutyCycle:
        case Control::Duration:
          p.fEditExit();
          break;
        case Control::Amplitude:
          p.AmplitudeExit();
          break;
        default:
          break;
      }
      break;
  }
}

}  // namespace quor
