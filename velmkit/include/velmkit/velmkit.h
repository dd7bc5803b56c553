// Everything a module or a host includes.
#pragma once

#include "velmkit/actions.h"
#include "velmkit/classes.h"
#include "velmkit/controls.h"
#include "velmkit/dialogs.h"
#include "velmkit/files.h"
#include "velmkit/forms.h"
#include "velmkit/host.h"
#include "velmkit/items.h"
#include "velmkit/pagewin.h"
#include "velmkit/pubframe.h"
#include "velmkit/registry.h"
#include "velmkit/resources.h"
#include "velmkit/ribbon.h"
#include "velmkit/strings.h"
#include "velmkit/termwin.h"
#include "velmkit/tree.h"
