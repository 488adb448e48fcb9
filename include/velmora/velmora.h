// Everything an application needs: include this one header.
#pragma once

#include <velmora/card_contact.h>
#include <velmora/card_converter.h>
#include <velmora/cards.h>
#include <velmora/csv_content.h>
#include <velmora/csv_headers.h>
#include <velmora/encodings.h>
#include <velmora/enums.h>
#include <velmora/export.h>
#include <velmora/object.h>
#include <velmora/progress.h>
#include <velmora/report.h>
#include <velmora/status.h>
#include <velmora/unicode.h>
#include <velmora/variant.h>
#include <velmora/version.h>
