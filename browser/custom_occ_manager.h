#pragma once
// Makes every browser control of the process get the program's own site.

#include "platform/occ.h"

class CCustomOccManager : public COccManager {
public:
    COleControlSite* CreateSite(COleControlContainer* container) override;
};
