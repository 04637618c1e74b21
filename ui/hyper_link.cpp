#include "ui/hyper_link.h"

hyper_link_class::hyper_link_class() {}
hyper_link_class::~hyper_link_class() {}
