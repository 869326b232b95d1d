#pragma once
// Everything a form unit needs to print: the report project and its connections, under
// the names the forms use (TRvProject, TRvTableConnection ...), in the global namespace
// like the forms' other components.

#include "platform/report/connection.h"
#include "platform/report/error.h"
#include "platform/report/output.h"
#include "platform/report/project.h"

using report::dtString;
using report::rtDeveloper;
using report::TRvCustomConnection;
using report::TRvDataSetConnection;
using report::TRvProject;
using report::TRvQueryConnection;
using report::TRvTableConnection;
