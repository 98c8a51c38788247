#pragma once

#include "document/event_table.h"
#include "make/build_log.h"
#include "make/picture_table.h"

// The collection pass (CollectPicture for every picture of ListPictures) on up to `threads`
// threads at once, 0 meaning one per core. Each picture's log lines are held back and passed on
// in table order once it and every picture before it are done, so that the log reads exactly as
// a run on one thread; the log is only ever called on the calling thread. Pictures whose PNG
// files share a name are done one after another, in table order, so that the same PNG file is
// decided and written as one thread would. Without `convert` nothing is written. An exception
// thrown for a picture is thrown again here, in its turn.
CollectionResult CollectPicturesInParallel(const EventTable& table, BuildLog& log, bool convert,
                                           int threads);
