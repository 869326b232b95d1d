#pragma once
// Everything a form unit needs: the form, the controls (the data-aware ones too), menus,
// dialogs and the application object.

#include "application.h"
#include "canvas.h"
#include "controls.h"
#include "db_controls.h"
#include "db_ctrl_grid.h"
#include "db_grid.h"
#include "db_lookup.h"
#include "dialogs.h"
#include "form.h"
#include "grid.h"
#include "image.h"
#include "menus.h"
#include "picker.h"
#include "timer.h"
#include "types.h"
