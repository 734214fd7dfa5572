#include "flowchart/recompute.h"
