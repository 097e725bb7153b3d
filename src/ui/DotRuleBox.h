// TDotRuleBox: the NVRAM page's choice of how pictures become dots, a rule from a list
// and a threshold from 1 to 255.
#pragma once

#include <QWidget>
#include <cstdint>

#include "settings/LogoSettings.h"

class QComboBox;
class QSpinBox;

namespace printset {

class TDotRuleBox : public QWidget {
  Q_OBJECT

 public:
  // "DOTS:" with the rules by name, "THRESHOLD:" with a number box. Never fails.
  explicit TDotRuleBox(QWidget* parent = nullptr);

  // Shows `rule` and `threshold` (clamped to 1 to 255) without emitting Changed. Never fails.
  void Show(TDotRule rule, int32_t threshold);
  TDotRule Rule() const;
  int32_t Threshold() const;

 signals:
  // The operator chose another rule or threshold.
  void Changed();

 private:
  QComboBox* RuleBox = nullptr;
  QSpinBox* ThresholdBox = nullptr;
};

}  // namespace printset
