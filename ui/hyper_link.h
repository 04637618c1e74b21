#pragma once

// Registers the "STATIC_HYPER" window class and loads the hand cursor.
class hyper_link_class {
public:
    hyper_link_class();
    virtual ~hyper_link_class();
};

extern hyper_link_class app_link_class;
