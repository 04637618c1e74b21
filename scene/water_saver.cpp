#include "scene/water_saver.h"

water_saver::water_saver() {}
water_saver::~water_saver() {}
bool water_saver::init_data() { return true; }
bool water_saver::init_gl() { return true; }
void water_saver::draw(float) {}
void water_saver::resize(int, int) {}
