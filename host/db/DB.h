#pragma once
// The dataset framework: datasets, fields, data sources and data links.
#include "host/db/DBBase.h"
#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"
#include "host/db/DataSource.h"
#include "host/db/Fields.h"
