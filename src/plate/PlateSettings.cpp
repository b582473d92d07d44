#include "plate/PlateSettings.h"

namespace vyn {

QPlateSettings& PlateSettings()
{
    static QPlateSettings settings;
    return settings;
}

}  // namespace vyn
