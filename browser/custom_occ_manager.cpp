#include "browser/custom_occ_manager.h"

#include <new>

#include "browser/custom_control_site.h"

COleControlSite* CCustomOccManager::CreateSite(COleControlContainer* container) {
    return new (std::nothrow) CCustomControlSite(container);
}
