<?php
// Administration pages of the demonstration build.
header('Content-Type: text/html; charset=utf-8');
echo '<h1>Administration</h1><p>Demonstration build.</p>';
