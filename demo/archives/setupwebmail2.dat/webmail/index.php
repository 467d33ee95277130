<?php
// Webmail of the demonstration build.
header('Content-Type: text/html; charset=utf-8');
echo '<h1>Webmail</h1><p>Sign in with user@demo-mx.example.</p>';
