#include "wizard/pages/setup_tables_loading.h"

#include <string>

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/install_tables.h"
#include "install/tables/space_survey.h"
#include "platform/machine/system_info.h"
#include "platform/ui/application.h"

namespace {

// The locale's country name is read into a field of this many characters.
constexpr std::size_t kCountryNameLength = 20;

}  // namespace

void LoadSetupTables(SetupApp& app) {
  const InstallTables tables{app.Destinations(), app.Groups(), app.Targets(), app.Sources(), app.Diskettes()};
  // The paths under the install directory are built once the user has chosen
  // it (the destination page); the space totals need only the parent ids.
  LoadInstallTables(app.InstallTablesFile(), tables, [](InstallTable) { platform::ui::PumpMessages(); });
}

void LoadSetupInformation(SetupApp& app) {
  const std::string country = platform::GetCountryName().substr(0, kCountryNameLength);
  if (country != kHomeCountry) app.SetInternational(true);

  LoadSetupTables(app);
  ComputeSetupTypeTotals(app.Totals(), app.Groups(), app.Sources(), app.Destinations(), app.SourceDirectory(),
                         app.International());
}
